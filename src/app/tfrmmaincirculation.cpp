#include "app/hub.h"
#include "app/tfrmmain.h"
#include "circulation/tfrmactivefixedrent.h"
#include "circulation/tfrmbackbook.h"
#include "circulation/tfrmlogout.h"
#include "circulation/tfrmlostorunlost.h"
#include "circulation/tfrmreletbook.h"
#include "circulation/tfrmrentbook.h"

namespace qandor {

namespace {
// A fresh desk screen for the operator logged in, freed when it closes.
template <class Screen>
void openDesk(Hub &hub, QWidget *owner)
{
    Screen screen(hub.Bast1, hub.g.CurrentUser, owner);
    screen.exec();
}
} // namespace

void TfrmMain::openRentBook() { openDesk<TfrmRentBook>(m_hub, this); }
void TfrmMain::openReletBook() { openDesk<TfrmReletBook>(m_hub, this); }
void TfrmMain::openBackBook() { openDesk<TfrmBackBook>(m_hub, this); }
void TfrmMain::openActiveFixedRent() { openDesk<TfrmActiveFixedRent>(m_hub, this); }
void TfrmMain::openLostControl() { openDesk<TfrmLostOrUnLost>(m_hub, this); }
void TfrmMain::openLogOut() { openDesk<TfrmLogOut>(m_hub, this); }

} // namespace qandor
