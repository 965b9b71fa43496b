#pragma once

#include "data/schema.h"

#include <QString>

namespace qandor {

// The system parameters row of SysParameter, with the values used when
// the table has no row.
struct SysParams {
    bool AutoCreateBookNum = true;
    QString B_FrontMark, B_BehindMark;
    int B_Length = 5;
    bool AutoCreateMagazineNum = true;
    QString M_FrontMark, M_BehindMark;
    int M_Length = 5;
    bool AutoCreateReaderNum = false;
    QString R_FrontMark, R_BehindMark;
    int R_Length = 4;
    int PageSize = 100;
    QString CardTitle = Schema::DefaultCardTitle;
    QString CardBackInfor = Schema::defaultCardBackInfor();
    bool AutoBookOutTimeWarn = true;
    bool AutoMagazineOutTimeWarn = true;
};

} // namespace qandor
