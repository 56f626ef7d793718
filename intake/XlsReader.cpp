#include "intake/XlsReader.h"

#include <fcntl.h>
#include <freexl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>

#include "intake/WorkbookLimits.h"
#include "model/CroatianPlural.h"

// Whether this build runs under AddressSanitizer (GCC and clang say so differently).
#if defined(__SANITIZE_ADDRESS__)
#define MOVIK_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MOVIK_ADDRESS_SANITIZER 1
#endif
#endif
#ifndef MOVIK_ADDRESS_SANITIZER
#define MOVIK_ADDRESS_SANITIZER 0
#endif

namespace movik::workbook {

namespace {

using XlsHandle = std::unique_ptr<const void, int (*)(const void*)>;

ReadError DamagedXls() {
    return ReadError{std::string(kDamaged) + " (.xls)"};
}

// Opens an .xls workbook that is neither damaged nor encrypted; *count gets its sheet count.
XlsHandle OpenXls(const std::string& path, unsigned int& count) {
    const void* handle = nullptr;
    const int rc = freexl_open(path.c_str(), &handle);
    XlsHandle guard(handle, freexl_close);
    if (rc == FREEXL_INSUFFICIENT_MEMORY) {
        throw ReadError{"Nedovoljno memorije za čitanje radne knjige"};
    }
    if (rc != FREEXL_OK) {
        throw DamagedXls();
    }
    unsigned int info = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
        info == FREEXL_BIFF_OBFUSCATED) {
        throw ReadError{kEncrypted};
    }
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) {
        throw DamagedXls();
    }
    return guard;
}

// A cell as the workbook holds it: a number or a text (dates are texts); nullopt when empty.
std::optional<SheetCell> XlsCell(const FreeXL_CellValue& v, const WorkbookLimits& limits) {
    SheetCell cell;
    switch (v.type) {
        case FREEXL_CELL_INT:
            cell.kind = SheetCell::Kind::Number;
            cell.number = v.value.int_value;
            return cell;
        case FREEXL_CELL_DOUBLE:
            cell.kind = SheetCell::Kind::Number;
            cell.number = v.value.double_value;
            return cell;
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
            cell.kind = SheetCell::Kind::Text;
            cell.text = v.value.text_value != nullptr ? v.value.text_value : "";
            if (cell.text.size() > limits.textBytes) {
                throw ReadError{
                    TooLarge("tekst dulji od " + std::to_string(limits.textBytes) + " znakova")};
            }
            return cell;
        default:
            return std::nullopt;
    }
}

// The cells of sheet `index`, within the limits (cellCount counts across the workbook).
SheetData ReadXlsSheet(const void* handle, unsigned short index, const char* name,
                       const WorkbookLimits& limits, std::size_t& cellCount) {
    unsigned int rows = 0;
    unsigned short cols = 0;
    if (freexl_select_active_worksheet(handle, index) != FREEXL_OK ||
        freexl_worksheet_dimensions(handle, &rows, &cols) != FREEXL_OK) {
        throw DamagedXls();
    }
    SheetData sheet;
    sheet.name = name;
    sheet.formulaResultsKnown = false;
    // The form's columns all lie well within the first 64; the rest is not visited.
    const unsigned short readCols = std::min<unsigned short>(cols, 64);
    if (static_cast<std::uint64_t>(rows) * readCols > 16 * limits.cells) {
        throw ReadError{
            TooLarge("list " + sheet.name + " ima " + CountText(rows, "redak", "retka", "redaka"))};
    }
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < readCols; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(handle, r, c, &v) != FREEXL_OK) {
                throw DamagedXls();
            }
            std::optional<SheetCell> cell = XlsCell(v, limits);
            if (!cell) {
                continue;
            }
            if (++cellCount > limits.cells) {
                throw ReadError{TooLarge("više od " + std::to_string(limits.cells) + " ćelija")};
            }
            sheet.rows = std::max(sheet.rows, static_cast<int>(r) + 1);
            sheet.cells[Key(static_cast<int>(r), c)] = std::move(*cell);
        }
    }
    return sheet;
}

WorkbookData ReadXlsHere(const std::string& path, const std::vector<std::string>& wanted,
                         const WorkbookLimits& limits) {
    unsigned int count = 0;
    const XlsHandle handle = OpenXls(path, count);
    WorkbookData book;
    std::size_t cellCount = 0;
    for (unsigned int s = 0; s < count && s < 4096; ++s) {
        const auto index = static_cast<unsigned short>(s);
        const char* name = nullptr;
        if (freexl_get_worksheet_name(handle.get(), index, &name) != FREEXL_OK || name == nullptr) {
            throw DamagedXls();
        }
        book.sheetNames.emplace_back(name);
        if (!Wanted(wanted, name) || book.Find(name) != nullptr) {
            continue;
        }
        book.sheets.push_back(ReadXlsSheet(handle.get(), index, name, limits, cellCount));
    }
    return book;
}

// FreeXL 1.0.6 reads out of bounds on some damaged files (found by fuzzing), so it runs in a
// child process: a crash, a hang or a runaway allocation there is a damaged file here. The
// child sends the cells back through a pipe; glibc keeps malloc usable in a forked child.
void Put(std::string& out, const void* data, std::size_t size) {
    out.append(static_cast<const char*>(data), size);
}
void PutText(std::string& out, const std::string& text) {
    const auto n = static_cast<std::uint32_t>(text.size());
    Put(out, &n, sizeof n);
    out += text;
}

std::string Serialize(const WorkbookData& book) {
    std::string out = "K";
    const auto names = static_cast<std::uint32_t>(book.sheetNames.size());
    Put(out, &names, sizeof names);
    for (const std::string& n : book.sheetNames) {
        PutText(out, n);
    }
    const auto sheets = static_cast<std::uint32_t>(book.sheets.size());
    Put(out, &sheets, sizeof sheets);
    for (const SheetData& sheet : book.sheets) {
        PutText(out, sheet.name);
        const auto cells = static_cast<std::uint32_t>(sheet.cells.size());
        Put(out, &sheet.rows, sizeof sheet.rows);
        Put(out, &cells, sizeof cells);
        for (const auto& [key, cell] : sheet.cells) {
            Put(out, &key, sizeof key);
            const auto kind = static_cast<std::uint8_t>(cell.kind);
            Put(out, &kind, sizeof kind);
            Put(out, &cell.number, sizeof cell.number);
            PutText(out, cell.text);
        }
    }
    return out;
}

class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    template <typename T>
    T Get() {
        T v{};
        Need(sizeof v);
        std::memcpy(&v, bytes_.data() + at_, sizeof v);
        at_ += sizeof v;
        return v;
    }
    std::string Text() {
        const auto n = Get<std::uint32_t>();
        Need(n);
        std::string t(bytes_.substr(at_, n));
        at_ += n;
        return t;
    }

  private:
    void Need(std::size_t n) {
        if (bytes_.size() - at_ < n) {
            throw DamagedXls();
        }
    }
    std::string_view bytes_;
    std::size_t at_ = 1;  // after the outcome's letter
};

WorkbookData Deserialize(std::string_view bytes) {
    Reader r(bytes);
    WorkbookData book;
    const auto names = r.Get<std::uint32_t>();
    for (std::uint32_t i = 0; i < names; ++i) {
        book.sheetNames.push_back(r.Text());
    }
    const auto sheets = r.Get<std::uint32_t>();
    for (std::uint32_t i = 0; i < sheets; ++i) {
        SheetData sheet;
        sheet.name = r.Text();
        sheet.formulaResultsKnown = false;
        sheet.rows = r.Get<int>();
        const auto cells = r.Get<std::uint32_t>();
        for (std::uint32_t c = 0; c < cells; ++c) {
            const auto key = r.Get<std::uint64_t>();
            SheetCell cell;
            cell.kind = static_cast<SheetCell::Kind>(r.Get<std::uint8_t>());
            cell.number = r.Get<double>();
            cell.text = r.Text();
            sheet.cells[key] = std::move(cell);
        }
        book.sheets.push_back(std::move(sheet));
    }
    return book;
}

// The child's side: reads the workbook, writes the cells (or "E" and the refusal) to fd and ends.
[[noreturn]] void ReadXlsInChild(int fd, const std::string& path,
                                 const std::vector<std::string>& wanted,
                                 const WorkbookLimits& limits) {
    // Bounded: the child may take ten seconds of processor and a gigabyte of memory.
    const rlimit cpu{10, 10};
    ::setrlimit(RLIMIT_CPU, &cpu);
    // A child stopped at its limit or by a fault leaves no core file behind.
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
#if !MOVIK_ADDRESS_SANITIZER
    // (Under AddressSanitizer the address space already holds its shadow memory, far beyond
    // any such limit, so the limit is left to the processor time there.)
    const rlimit memory{1ul << 30, 1ul << 30};
    ::setrlimit(RLIMIT_AS, &memory);
#endif
    std::string out;
    try {
        out = Serialize(ReadXlsHere(path, wanted, limits));
    } catch (const ReadError& e) {
        out = "E" + e.message;
    } catch (...) {
        ::_exit(3);
    }
    for (std::size_t done = 0; done < out.size();) {
        const ssize_t n = ::write(fd, out.data() + done, out.size() - done);
        if (n <= 0) {
            ::_exit(4);
        }
        done += static_cast<std::size_t>(n);
    }
    ::_exit(0);
}

// What the parent took from the child's pipe.
struct ChildOutput {
    std::string bytes;
    bool tooMuch = false;  // more than the workbook may unpack to: the child was stopped
    bool hung = false;     // nothing for 30 seconds: the child was stopped
};

// Reads the child's output until it ends, stopping the child when it sends too much or hangs.
ChildOutput ReadFromChild(int fd, pid_t child, const WorkbookLimits& limits) {
    ChildOutput out;
    char buffer[1 << 15];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (;;) {
        // A child that waits on something forever is stopped after 30 seconds.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{fd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(std::max<long>(left.count(), 0)));
        if (polled < 0 && errno == EINTR) {
            continue;
        }
        if (polled <= 0) {
            out.hung = true;
            ::kill(child, SIGKILL);
            break;
        }
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        out.bytes.append(buffer, static_cast<std::size_t>(n));
        if (out.bytes.size() > limits.totalBytes) {
            out.tooMuch = true;
            ::kill(child, SIGKILL);
            break;
        }
    }
    return out;
}

}  // namespace

WorkbookData ReadXls(const std::string& path, const std::vector<std::string>& wanted,
                     const WorkbookLimits& limits) {
    int fds[2];
    pid_t child = -1;
    {
        // Workbooks read on several threads at once: a child forked while another reader's pipe
        // is open would hold its write end, and that reader would see no end until the other
        // child ended. The pipe, the fork and the parent's close of the write end go together.
        static std::mutex forking;
        const std::lock_guard lock(forking);
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            throw ReadError{"Radnu knjigu nije moguće pročitati"};
        }
        child = ::fork();
        if (child < 0) {
            ::close(fds[0]);
            ::close(fds[1]);
            throw ReadError{"Radnu knjigu nije moguće pročitati"};
        }
        if (child == 0) {
            ::close(fds[0]);
            ReadXlsInChild(fds[1], path, wanted, limits);
        }
        ::close(fds[1]);
    }
    const ChildOutput in = ReadFromChild(fds[0], child, limits);
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (in.tooMuch) {
        throw ReadError{TooLarge("raspakirano više od " + Mib(limits.totalBytes))};
    }
    if (in.hung || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || in.bytes.empty()) {
        throw DamagedXls();
    }
    if (in.bytes[0] == 'E') {
        throw ReadError{in.bytes.substr(1)};
    }
    return Deserialize(in.bytes);
}

// FreeXL reads only named files: bytes in memory go through an anonymous memory file.
WorkbookData ReadXlsBytes(std::string_view bytes, const std::vector<std::string>& wanted,
                          const WorkbookLimits& limits) {
    const int fd = ::memfd_create("movik-xls", MFD_CLOEXEC);
    if (fd < 0) {
        throw ReadError{"Radnu knjigu nije moguće pročitati"};
    }
    std::unique_ptr<int, void (*)(int*)> guard(new int(fd), [](int* p) {
        ::close(*p);
        delete p;
    });
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            throw ReadError{"Radnu knjigu nije moguće pročitati"};
        }
        done += static_cast<std::size_t>(n);
    }
    return ReadXls("/proc/self/fd/" + std::to_string(fd), wanted, limits);
}

}  // namespace movik::workbook
