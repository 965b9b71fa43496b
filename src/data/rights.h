#pragma once

#include <QString>
#include <QStringList>

namespace qandor {

// One operator right: a bit column of 用户管理 and where it shows on the
// user settings screen.
struct RightInfo {
    const char *column;  // column name = right name
    const char *caption; // tick box caption when it differs, else nullptr
    const char *tab;     // tab of the user settings screen
};

// The fifty rights, in the order of the user settings screen.
const QList<RightInfo> &allRights();
QStringList allRightColumns();

} // namespace qandor
