#include "app/hub.h"
#include "app/tfrmmain.h"
#include "readers/tfrmaddoreditreaderinfor.h"
#include "readers/tfrmreadermanager.h"
#include "readers/tfrmtakephotofromvideo.h"
#include "readers/tfrmtypeofreader.h"

namespace qandor {

namespace {
NumberRule readerRule(const Hub &hub)
{
    return {hub.sysParams.AutoCreateReaderNum, hub.sysParams.R_Length};
}
} // namespace

void TfrmMain::openReaderType()
{
    TfrmTypeOfReader screen(m_hub.Bast1, this);
    screen.exec();
}

void TfrmMain::openReaderManager()
{
    ensureCameraRegistered();
    TfrmReaderManager screen(m_hub.Bast1, readerRule(m_hub), m_hub.sysParams.PageSize, this);
    screen.setWindowState(Qt::WindowMaximized);
    screen.exec();
}

void TfrmMain::openReaderLookup()
{
    TfrmReaderManager screen(m_hub.Bast1, readerRule(m_hub), m_hub.sysParams.PageSize, this);
    screen.setLookupMode(true);
    screen.setWindowState(Qt::WindowMaximized);
    screen.exec();
}

void TfrmMain::openAddReader()
{
    ensureCameraRegistered();
    TfrmAddOrEditReaderInfor editor(m_hub.Bast1, readerRule(m_hub), nullptr, this);
    editor.exec();
}

} // namespace qandor
