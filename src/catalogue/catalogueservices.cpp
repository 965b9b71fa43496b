#include "catalogue/catalogueservices.h"
#include "data/gbk.h"

#include <QFile>
#include <QSaveFile>
#include <QTreeWidget>

namespace qandor {

void MakeCallNumber(Database &db, const QString &classCode, const QString &title, int &serial, QString &callNumber,
                    const QString &isbn)
{
    // max() rather than "order by desc": a copy without a serial must not hide the highest one.
    const int highest = db.scalar(QStringLiteral("select max(种次号) from 图书资料 where 分类号=?"), {classCode.trimmed()},
                                  "MakeCallNumber")
                            .toInt();
    QSqlQuery q = db.exec(QStringLiteral("select 种次号,索书号 from 图书资料 where 图书名称=? and 分类号=? and 标准ISBN=? "
                                         "order by 分类号 desc")
                              + db.dialect().limit(1),
                          {title, classCode, isbn}, "MakeCallNumber");
    if (q.next()) {
        serial = q.value(0).toInt();
        callNumber = q.value(1).toString();
        return;
    }
    serial = highest + 1;
    callNumber = classCode + QLatin1Char('/') + QString::number(serial);
}

QString IsbnTo13(const QString &text)
{
    QString s = text.trimmed();
    s.remove(QLatin1Char('-'));
    const qsizetype n = s.size();
    if (n > 0)
        s.chop(1);
    if (n == 10)
        s.prepend(QStringLiteral("978"));
    int sum = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return text;
        const int d = c.unicode() - '0';
        sum += (i % 2 == 0) ? d : 3 * d;
    }
    const int check = sum % 10 == 0 ? 0 : 10 - sum % 10;
    return s + QString::number(check);
}

QString treeCodeOf(const QString &nodeText)
{
    const QString t = nodeText.trimmed();
    const qsizetype dash = t.indexOf(QLatin1Char('-'));
    return dash < 0 ? t : t.left(dash);
}

bool splitTreeText(const QString &nodeText, QString &code, QString &name)
{
    const QString t = nodeText.trimmed();
    const qsizetype dash = t.indexOf(QLatin1Char('-'));
    if (dash < 0) {
        code.clear();
        name.clear();
        return false;
    }
    code = t.left(dash);
    name = t.mid(dash + 1);
    return true;
}

namespace {
const QTreeWidgetItem *selectedNode(const QTreeWidget *tree)
{
    if (!tree)
        return nullptr;
    const auto selected = tree->selectedItems();
    if (!selected.isEmpty())
        return selected.first();
    return tree->currentItem();
}

void writeNode(const QTreeWidgetItem *item, int depth, QString &out)
{
    out += QString(depth, QLatin1Char('\t')) + item->text(0) + QStringLiteral("\r\n");
    for (int i = 0; i < item->childCount(); ++i)
        writeNode(item->child(i), depth + 1, out);
}
} // namespace

QString GetTreeCode(const QTreeWidget *tree)
{
    const QTreeWidgetItem *node = selectedNode(tree);
    return node ? treeCodeOf(node->text(0)) : QString();
}

void GetTreeCodeAndName(const QTreeWidget *tree, QString &code, QString &name)
{
    code.clear();
    name.clear();
    if (const QTreeWidgetItem *node = selectedNode(tree))
        splitTreeText(node->text(0), code, name);
}

QByteArray classTreeBytes(const QTreeWidget *tree)
{
    QString out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        writeNode(tree->topLevelItem(i), 0, out);
    return toGbk(out);
}

void classTreeFromBytes(QTreeWidget *tree, const QByteArray &bytes)
{
    tree->clear();
    QList<QTreeWidgetItem *> path; // the last node seen at each depth
    const QStringList lines = fromGbk(bytes).split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        qsizetype depth = 0;
        while (depth < line.size() && line.at(depth) == QLatin1Char('\t'))
            ++depth;
        const QString text = line.mid(depth);
        if (text.trimmed().isEmpty())
            continue;
        // A line indented deeper than its predecessor allows hangs under the deepest node.
        depth = std::min<qsizetype>(depth, path.size());
        QTreeWidgetItem *item = depth == 0 ? new QTreeWidgetItem(tree) : new QTreeWidgetItem(path.at(depth - 1));
        item->setText(0, text);
        path.resize(depth);
        path.append(item);
    }
}

bool SaveClassTree(const QTreeWidget *tree, const QString &treeFile)
{
    // Written aside and renamed, so a failed write leaves the old cache intact.
    QSaveFile f(treeFile);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(classTreeBytes(tree));
    return f.commit();
}

bool LoadClassTree(QTreeWidget *tree, const QString &treeFile)
{
    QFile f(treeFile);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    classTreeFromBytes(tree, f.readAll());
    return true;
}

bool IsbnChecks(const QString &text)
{
    QString s;
    for (const QChar c : text)
        if (c != QLatin1Char('-') && !c.isSpace())
            s += c.toUpper();
    auto digit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0' : -1; };
    if (s.size() == 10) {
        int sum = 0;
        for (int i = 0; i < 10; ++i) {
            int d = digit(s.at(i));
            if (d < 0 && i == 9 && s.at(i) == QLatin1Char('X'))
                d = 10;
            if (d < 0)
                return false;
            sum += d * (10 - i);
        }
        return sum % 11 == 0;
    }
    if (s.size() == 13) {
        int sum = 0;
        for (int i = 0; i < 13; ++i) {
            const int d = digit(s.at(i));
            if (d < 0)
                return false;
            sum += (i % 2 == 0) ? d : 3 * d;
        }
        return sum % 10 == 0;
    }
    return false;
}

} // namespace qandor
