#include "app/frmMP3.h"
#include "playlist/playlistbox.h"

#include <QPushButton>
#include <QSlider>

namespace {

// The controls the compact view hides, in the order both commands switch them; the label row
// and the background picture always stay.
QList<QWidget *> compactViewSet(const frmMP3 &w)
{
    return { w.cmdPlay, w.cmdStop, w.cmdBack, w.cmdForward, w.cmdPause, w.PlayList, w.cdmAdd, w.cmdDelete,
        w.cmdSave, w.cmdLoad, w.cmdMute, w.Slider, w.cmdShuffle, w.cmdDelAll };
}

} // namespace

void frmMP3::Hide_Click()
{
    for (QWidget *control : compactViewSet(*this))
        control->setVisible(false);
}

void frmMP3::Show_Click()
{
    for (QWidget *control : compactViewSet(*this))
        control->setVisible(true);
}
