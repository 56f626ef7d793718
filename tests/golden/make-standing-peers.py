#!/usr/bin/env python3
"""Writes standing-peers.jsonl: summary lines (as movik-cli summary --format jsonl writes them)
of made-up peers of the example companies, so the standing baselines have groups of five and
more: ties, empty (not computable) indicators, negative results, kuna documents of 2022 beside
euro ones, a group one short of five, a file that could not be read and one without a period.
Deterministic: the same file on every run."""
import json
import random
import sys

IDS = ["2", "3", "4", "6", "7", "8", "9", "11", "12", "13", "14", "16", "17", "18", "19"]
# Typical value and spread, and decimals as the indicators show them.
SHAPE = {"2": (1.6, 0.6, 2), "3": (1.0, 0.5, 2), "4": (120, 60, 0), "6": (60, 30, 0),
         "7": (45, 20, 0), "8": (110, 50, 0), "9": (330, 120, 0), "11": (5, 6, 2),
         "12": (6, 6, 2), "13": (11, 10, 2), "14": (8, 6, 2), "16": (20, 12, 2),
         "17": (50, 20, 2), "18": (5, 4, 2), "19": (70, 40, 2)}
NAMES = ["Breza", "Bukva", "Grab", "Hrast", "Jasen", "Javor", "Kesten", "Smreka"]
# Year, currency, how many peers.
GROUPS = [(2022, "HRK", 5), (2023, "EUR", 4), (2024, "EUR", 8), (2025, "EUR", 4)]


def line(rng, name, year, currency):
    indicators = {}
    for i in IDS:
        mid, spread, decimals = SHAPE[i]
        value = round(mid + spread * (2 * rng.random() - 1), decimals)
        if currency == "HRK" and i in ("14", "19"):
            value = round(value * 7.5345, 2)
        indicators[i] = value
    return {"file": "generirano/%s-%d.mvk" % (name, year), "ok": True, "error": None,
            "company": name, "seat": "Zagreb", "from": "%d-01-01" % year,
            "to": "%d-12-31" % year, "currency": currency, "converted": False,
            "indicators": indicators, "warnings": [], "file_base64": None}


def main():
    rng = random.Random(35)
    lines = []
    for year, currency, count in GROUPS:
        for k in range(count):
            lines.append(line(rng, NAMES[k] + " d.o.o.", year, currency))
    # 2024: ties in current liquidity, a loss, empty interest coverage and per-share figures.
    for k in range(3):
        lines[9 + k]["indicators"]["2"] = 1.5
    lines[12]["indicators"]["11"] = -7.25
    lines[12]["indicators"]["12"] = -3.1
    lines[13]["indicators"]["18"] = None
    lines[13]["indicators"]["14"] = None
    lines[14]["indicators"]["18"] = None
    failed = {"file": "generirano/osteceni.mvk", "ok": False, "error": "Neispravna datoteka",
              "company": None, "seat": None, "from": None, "to": None, "currency": None,
              "converted": None, "indicators": None, "warnings": [], "file_base64": None}
    undated = line(rng, "Bez razdoblja d.o.o.", 2024, "EUR")
    undated["from"] = undated["to"] = None
    lines += [failed, undated]
    for l in lines:
        sys.stdout.write(json.dumps(l, ensure_ascii=False, separators=(",", ":")) + "\n")


main()
