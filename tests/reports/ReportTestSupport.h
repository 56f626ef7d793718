#pragma once
// The example document opened in a workspace, and small queries over laid-out pages.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "document/Workspace.h"
#include "reports/PrintJobs.h"

namespace movik {
// Short names for parameterised test output.
inline void PrintTo(const RegionalSettings& rs, std::ostream* os) {
    *os << rs.thousandsSeparator << rs.decimalSeparator;
}
}  // namespace movik

namespace movik::test {

// "1,234.56" / "1.234,56"; dates as the two locales write them.
inline RegionalSettings EnglishSettings() {
    return {",", ".", "M/d/yy"};
}
inline RegionalSettings CroatianSettings() {
    return {".", ",", "dd. MM. yyyy."};
}

inline void OpenExample(Workspace& ws) {
    const OpenOutcome opened = ws.OpenDocument(MOVIK_EXAMPLE);
    ASSERT_TRUE(opened) << opened;
}

// The text items of a page with the given tag, in print order (detail labels).
inline std::vector<const DrawItem*> ItemsWithTag(const LaidOutPage& page, int tag) {
    std::vector<const DrawItem*> found;
    for (const DrawItem& item : page.items) {
        if (item.kind == DrawItem::Kind::Text && item.tag == tag)
            found.push_back(&item);
    }
    return found;
}

inline const DrawItem* ItemNamed(const LaidOutPage& page, const std::string& name) {
    for (const DrawItem& item : page.items) {
        if (item.name == name)
            return &item;
    }
    return nullptr;
}

}  // namespace movik::test
