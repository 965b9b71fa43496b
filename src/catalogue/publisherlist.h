#pragma once

#include "data/tbast.h"

#include <QList>
#include <QString>
#include <optional>

namespace qandor {

// One row of 出版社.
struct Publisher {
    qint64 id = 0;
    QString isbn;   // the publisher's ISBN prefix
    QString name;   // 出版社名称, required
    QString city;   // 所在地
};

// The rules of the publisher list and its record dialog.
class PublisherList {
public:
    explicit PublisherList(TBast &bast) : m_bast(bast) {}

    // The search condition for the keywords of `text` (split at blanks):
    // any keyword found in 所在地 or 出版社名称, or ending 出版社 ISBN,
    // selects a row. Values are bound; `binds` receives them.
    static QString searchCondition(const QString &text, const Dialect &dialect, QVariantList &binds);

    // "select * from 出版社 [where ...] order by <column>". A database
    // error is shown and gives nullopt.
    std::optional<QList<Publisher>> load(const QString &searchText = QString(),
                                         const QString &orderColumn = QStringLiteral("ISBN"));
    // "开始检索": nullopt with "请输入检索关键词!" for blank text.
    std::optional<QList<Publisher>> search(const QString &text, const QString &orderColumn = QStringLiteral("ISBN"));

    // "保存数据": refuses a blank name ("出版社名称不能为空值!"); inserts when
    // id is 0, else updates the row. The saved row (with its id) or nullopt.
    std::optional<Publisher> save(const Publisher &p);

    // "删除选中出版社": asks, then deletes. True when deleted.
    bool remove(const Publisher &p);

    // The messages for an empty list.
    static QString emptyEditMessage() { return QStringLiteral("当前出版社数据为空,没有可以修改的对象!"); }
    static QString emptyDeleteMessage() { return QStringLiteral("当前出版社数据为空,没有可以删除的对象!"); }

private:
    TBast &m_bast;
};

} // namespace qandor
