#include "app/hub.h"
#include "app/hubservices.h"
#include "app/tfrmmain.h"
#include "catalogue/cataloguecontext.h"
#include "catalogue/tfrmaddoreditbookinfor.h"
#include "catalogue/tfrmaddoreditmagazineinfor.h"
#include "catalogue/tfrmbookconcernset.h"
#include "catalogue/tfrmclassification.h"

namespace qandor {

namespace {
CatalogueContext catalogueContext(Hub &hub, const OperatorRights &rights)
{
    CatalogueContext ctx;
    ctx.bast = &hub.Bast1;
    ctx.treeFile = hub.g.TreeFile;
    ctx.bookRule = {hub.sysParams.AutoCreateBookNum, hub.sysParams.B_Length};
    ctx.magazineRule = {hub.sysParams.AutoCreateMagazineNum, hub.sysParams.M_Length};
    ctx.publisherRight = rights.has(QStringLiteral("出版社信息设置"));
    ctx.settingsSaved = [&hub] {
        try {
            if (Database *db = hub.db())
                LoadSysParameter(*db, hub.sysParams);
        } catch (const DbError &e) {
            hub.Bast1.ShowDbError(e);
        }
    };
    return ctx;
}
} // namespace

void TfrmMain::openAddBook()
{
    TfrmAddOrEditBookInfor editor(catalogueContext(m_hub, m_rights), this);
    if (editor.startAdd())
        editor.exec();
}

void TfrmMain::openAddMagazine()
{
    TfrmAddOrEditMagazineInfor editor(catalogueContext(m_hub, m_rights), this);
    if (editor.startAdd())
        editor.exec();
}

void TfrmMain::openClassification()
{
    Tfrmclassification screen(m_hub.Bast1, m_hub.g.TreeFile, QString(), this);
    screen.exec();
}

void TfrmMain::openBookConcern()
{
    TfrmBookconcernSet screen(m_hub.Bast1, QString(), true, this);
    screen.exec();
}

} // namespace qandor
