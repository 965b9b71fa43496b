#include "reports/tfrmeditdataforchoice.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace qandor {

LookupListEditor::LookupListEditor(TBast &bast, QString table, QString column)
    : m_bast(bast), m_table(std::move(table)), m_column(std::move(column))
{
}

QStringList LookupListEditor::load() const
{
    QStringList out;
    if (!m_bast.database())
        return out;
    try {
        QSqlQuery q = m_bast.database()->exec(QStringLiteral("select ") + m_column + QStringLiteral(" from ") + m_table,
                                              {}, "LookupListEditor::load");
        while (q.next())
            out << q.value(0).toString();
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        out.clear();
    }
    return out;
}

bool LookupListEditor::save(const QStringList &lines, QStringList &callerList,
                            const std::function<void(int)> &progress) const
{
    Database *db = m_bast.database();
    if (!db) {
        m_bast.ShowMsg(QStringLiteral("没有找到数据源！"), QStringLiteral("error"));
        return false;
    }
    const QString edit = QString::fromUtf8(TBast::EditEntry);
    QStringList stored;
    try {
        Transaction tx(*db);
        db->exec(QStringLiteral("delete from ") + m_table, {}, "LookupListEditor::save");
        if (progress)
            progress(1);
        const QString insert = QStringLiteral("insert into ") + m_table + QStringLiteral(" (") + m_column
            + QStringLiteral(") values (?)");
        for (int i = 0; i < lines.size(); ++i) {
            const QString v = lines.at(i).trimmed();
            if (v == edit)
                m_bast.ShowMsg(reservedWarning(), QStringLiteral("warn"));
            else if (!v.isEmpty() && !stored.contains(v)) {
                db->exec(insert, {v}, "LookupListEditor::save");
                stored << v;
            }
            if (progress)
                progress(i + 2);
        }
        tx.commit();
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return false;
    }
    callerList = stored;
    callerList << edit;
    return true;
}

TfrmEditDataForChoice::TfrmEditDataForChoice(TBast &bast, QStringList &list, const QString &table,
                                             const QString &column, QWidget *parent)
    : QDialog(parent), m_editor(bast, table, column), m_list(list)
{
    setObjectName(QStringLiteral("TfrmEditDataForChoice"));
    setWindowTitle(QStringLiteral("编辑") + table + QStringLiteral("信息"));
    auto *layout = new QVBoxLayout(this);
    m_data = new QPlainTextEdit(this);
    m_data->setObjectName(QStringLiteral("DataList"));
    m_data->setPlainText(m_editor.load().join(QLatin1Char('\n')));
    layout->addWidget(m_data);

    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    auto *panelLayout = new QVBoxLayout(m_panel);
    panelLayout->addWidget(new QLabel(QStringLiteral("正在处理数据，请稍后……"), m_panel));
    m_progress = new QProgressBar(m_panel);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    panelLayout->addWidget(m_progress);
    m_panel->hide();
    layout->addWidget(m_panel);

    auto *buttons = new QHBoxLayout;
    auto *saveBtn = new QPushButton(QStringLiteral("保存(&S)"), this);
    saveBtn->setObjectName(QStringLiteral("BitBtn1"));
    auto *cancelBtn = new QPushButton(QStringLiteral("取消(&C)"), this);
    cancelBtn->setObjectName(QStringLiteral("BitBtn2"));
    buttons->addStretch();
    buttons->addWidget(saveBtn);
    buttons->addWidget(cancelBtn);
    layout->addLayout(buttons);
    connect(saveBtn, &QPushButton::clicked, this, &TfrmEditDataForChoice::save);
    connect(cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmEditDataForChoice::save()
{
    const QString text = m_data->toPlainText();
    const QStringList lines = text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    m_progress->setRange(0, int(lines.size()) + 1);
    m_progress->setValue(0);
    m_panel->show();
    const bool ok = m_editor.save(lines, m_list, [this](int step) {
        m_progress->setValue(step);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    m_panel->hide();
    // After a failure the editor stays open with the operator's text.
    if (ok)
        accept();
}

void EditListValues(TBast &bast, QStringList &list, const QString &table, const QString &column, QWidget *parent)
{
    TfrmEditDataForChoice dlg(bast, list, table, column, parent);
    dlg.exec();
}

} // namespace qandor
