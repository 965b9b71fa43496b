#include "app/hubservices.h"
#include "circulation/loancharges.h"
#include "data/gbk.h"

#include <QFile>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QSaveFile>
#include <QTableView>
#include <QTreeWidget>

namespace qandor {

namespace {
const QString Open = QStringLiteral("未还");
}

void LoadSysParameter(Database &db, SysParams &p)
{
    QSqlQuery q = db.exec(QStringLiteral("select AutoCreateBookNum,B_FrontMark,B_BehindMark,B_Length,"
                                         "AutoCreateMagazineNum,M_FrontMark,M_BehindMark,M_Length,"
                                         "AutoCreateReaderNum,R_FrontMark,R_BehindMark,R_Length,PageSize,"
                                         "CardTitle,CardBackInfor,AutoBookOutTimeWarn,AutoMagazineOutTimeWarn "
                                         "from SysParameter order by ID")
                              + db.dialect().limit(1),
                          {}, "LoadSysParameter");
    if (!q.next()) {
        p = SysParams{};
        return;
    }
    p.AutoCreateBookNum = toBool(q.value(0));
    p.B_FrontMark = q.value(1).toString().trimmed();
    p.B_BehindMark = q.value(2).toString().trimmed();
    p.B_Length = q.value(3).toInt();
    p.AutoCreateMagazineNum = toBool(q.value(4));
    p.M_FrontMark = q.value(5).toString().trimmed();
    p.M_BehindMark = q.value(6).toString().trimmed();
    p.M_Length = q.value(7).toInt();
    p.AutoCreateReaderNum = toBool(q.value(8));
    p.R_FrontMark = q.value(9).toString().trimmed();
    p.R_BehindMark = q.value(10).toString().trimmed();
    p.R_Length = q.value(11).toInt();
    p.PageSize = q.value(12).toInt();
    p.CardTitle = q.value(13).toString();
    p.CardBackInfor = q.value(14).toString();
    p.AutoBookOutTimeWarn = toBool(q.value(15));
    p.AutoMagazineOutTimeWarn = toBool(q.value(16));
}

namespace {
int loanCount(Database &db, const QString &table, const QString &readerNum)
{
    return db.scalar(QStringLiteral("select ") + db.dialect().countOrZero(QStringLiteral("id")) + QStringLiteral(" as 已借数量 from ")
                         + table + QStringLiteral(" where 状态=? and 读者编号=?"),
                     {Open, readerNum.trimmed()}, "LoanCount")
        .toInt();
}

bool holder(Database &db, const QString &table, const QString &column, const QString &num, QString &readerNum)
{
    readerNum.clear();
    const QString n = num.trimmed();
    if (n.isEmpty())
        return false;
    QSqlQuery q = db.exec(QStringLiteral("select 读者编号 from ") + table + QStringLiteral(" where 状态=? and ") + column
                              + QStringLiteral("=?") + db.dialect().limit(1),
                          {Open, n}, "Holder");
    if (!q.next())
        return false;
    readerNum = q.value(0).toString().trimmed();
    return true;
}
} // namespace

int BookLoanCount(Database &db, const QString &readerNum)
{
    return loanCount(db, QStringLiteral("图书借阅信息"), readerNum);
}

int MagazineLoanCount(Database &db, const QString &readerNum)
{
    return loanCount(db, QStringLiteral("期刊借阅信息"), readerNum);
}

bool BookHolder(Database &db, const QString &bookNum, QString &readerNum)
{
    return holder(db, QStringLiteral("图书借阅信息"), QStringLiteral("图书编号"), bookNum, readerNum);
}

bool MagazineHolder(Database &db, const QString &magazineNum, QString &readerNum)
{
    return holder(db, QStringLiteral("期刊借阅信息"), QStringLiteral("期刊编号"), magazineNum, readerNum);
}

std::optional<QByteArray> LoadReaderPhoto(Database &db, const QString &readerNum)
{
    QSqlQuery q = db.exec(QStringLiteral("select 照片 from 读者资料 where 编号=?") + db.dialect().limit(1), {readerNum.trimmed()},
                          "LoadReaderPhoto");
    if (!q.next())
        return std::nullopt;
    return q.value(0).toByteArray();
}

bool IsRentalType(Database &db, const QString &typeName)
{
    QSqlQuery q = db.exec(QStringLiteral("select 包租 from 读者类型 where 类型名称=?") + db.dialect().limit(1), {typeName},
                          "IsRentalType");
    return q.next() && toBool(q.value(0));
}

QDate MonthsLater(int months, const QDate &date)
{
    return validUntil(date, months);
}

QString EscapeQuotes(const QString &text)
{
    QString t = text;
    t.replace(QLatin1Char('\''), QChar(0x2019));
    return t;
}

QString nowText(const QDateTime &now)
{
    return now.toString(QStringLiteral("yyyy年MM月dd日 hh时mm分"));
}

void ShowNow(QLabel *label)
{
    if (label)
        label->setText(nowText(QDateTime::currentDateTime()));
}

QColor ColorByStatus(const QString &text, const QString &wordList)
{
    static const QColor colors[] = {QColor(0, 128, 0), QColor(0, 0, 255), QColor(255, 0, 0), QColor(128, 0, 0)};
    const QStringList words = wordList.split(QLatin1Char(','));
    const QString t = text.trimmed();
    for (int i = 0; i < words.size() && i < 4; ++i) {
        const QString w = words.at(i).trimmed();
        // "Null" only keeps a position free.
        if (w == QLatin1String("Null"))
            continue;
        if (w == t)
            return colors[i];
    }
    return QColor(0, 0, 0);
}

void StyleGrid(QTableView *grid)
{
    if (!grid)
        return;
    grid->setFrameShape(QFrame::StyledPanel);
    grid->setAlternatingRowColors(true);
    QPalette pal = grid->palette();
    pal.setColor(QPalette::AlternateBase, OddRowColor);
    grid->setPalette(pal);
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(9);
    grid->setFont(font);
    grid->verticalHeader()->setMinimumSectionSize(16);
    grid->verticalHeader()->setDefaultSectionSize(16);
}

void ArrangeToolPanel(QWidget *panel, QWidget *label, const QList<QWidget *> &controls)
{
    if (!panel)
        return;
    if (label)
        label->move(10, label->y());
    int right = panel->width() - 10;
    for (QWidget *c : controls) {
        if (!c)
            continue;
        c->move(right - c->width(), c->y());
        right = c->x() - 10;
    }
}

void ParseRecordPosition(const QString &text, int &total, int &current)
{
    auto number = [](const QString &s) {
        bool ok = false;
        const int v = s.trimmed().toInt(&ok);
        return ok ? v : 1;
    };
    total = 1;
    current = 1;
    const QString totalStart = QStringLiteral(" 条记录(共 ");
    const qsizetype a = text.indexOf(totalStart);
    if (a >= 0) {
        const qsizetype from = a + totalStart.size();
        const qsizetype b = text.indexOf(QStringLiteral(" 条)"), from);
        total = number(b >= 0 ? text.mid(from, b - from) : QString());
    }
    const qsizetype c = text.indexOf(QStringLiteral("第 "));
    if (c >= 0) {
        const qsizetype from = c + 2;
        const qsizetype d = text.indexOf(QStringLiteral(" 条记录"), from);
        current = number(d >= 0 ? text.mid(from, d - from) : QString());
    }
}

bool ReadCard(QString &cardNumber)
{
    cardNumber = QStringLiteral("9939");
    return true;
}

QDateTime ServerDate(Database &db)
{
    const QString sql = db.dialect().serverDateSql();
    if (!sql.isEmpty()) {
        try {
            const QDateTime dt = toDateTime(db.scalar(sql, {}, "ServerDate"));
            if (dt.isValid())
                return dt;
        } catch (const DbError &) {
            // Falls back to the desk's own date.
        }
    }
    return QDate::currentDate().startOfDay();
}

} // namespace qandor
