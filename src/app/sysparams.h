#pragma once

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
    QString CardTitle = QStringLiteral("借书证");
    QString CardBackInfor = defaultCardBackInfor();
    bool AutoBookOutTimeWarn = true;
    bool AutoMagazineOutTimeWarn = true;

    static QString defaultCardBackInfor()
    {
        return QStringLiteral("\r                 使用说明\r\r1．借书证只限本人使用，借阅书籍时请出示本证。\r\r"
                              "2．借书证如若丢失，请及时挂失。\r\r3．请爱惜图书。\r\r(用户可在：系统管理->借书证打印设置 进行设置)\r");
    }
};

} // namespace qandor
