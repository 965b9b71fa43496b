#pragma once

#include "catalogue/itemnumbering.h"
#include "data/tbast.h"

#include <QString>
#include <functional>

namespace qandor {

// What the catalogue screens take from their opener (the main window or a
// manager): the data access component, the tree cache file, the numbering
// rules from the system parameters and the operator's publisher right.
struct CatalogueContext {
    TBast *bast = nullptr;
    QString treeFile;
    NumberRule bookRule{true, 5};
    NumberRule magazineRule{true, 5};
    // The right "出版社信息设置": the publisher list opened from an editor
    // keeps its maintenance buttons.
    bool publisherRight = true;
    // Called after the numbering dialog saved new rules (the hub reloads
    // its system parameters).
    std::function<void()> settingsSaved;
};

} // namespace qandor
