#include "control/ui/StatusAnimation.h"

#include "control/ui/ControlResources.h"

#include <QIcon>

namespace sorvella {

namespace {

constexpr int kFrameMilliseconds = 250;
constexpr int kFrameSize = 40;

} // namespace

StatusAnimation::StatusAnimation(QWidget* parent) : QLabel(parent)
{
    loadControlResources();
    setFixedSize(kFrameSize, kFrameSize);
    m_timer.setInterval(kFrameMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &StatusAnimation::nextFrame);
    play(m_run);
}

void StatusAnimation::play(const AnimationRun& run)
{
    // A refresh repeats the same run often; starting it over would stutter.
    if (run == m_run && m_frame >= 0) {
        return;
    }
    m_run = run;
    showFrame(run.first);
    steppingFollowsRun();
}

void StatusAnimation::setOnScreen(bool onScreen)
{
    m_onScreen = onScreen;
    steppingFollowsRun();
}

void StatusAnimation::steppingFollowsRun()
{
    const bool moving = m_run.repeat || m_frame < m_run.last;
    if (m_onScreen && m_run.last > m_run.first && moving) {
        if (!m_timer.isActive()) {
            m_timer.start();
        }
    } else {
        m_timer.stop();
    }
}

void StatusAnimation::showFrame(int frame)
{
    m_frame = frame;
    QPixmap& pixmap = m_pixmaps.at(static_cast<std::size_t>(frame));
    if (pixmap.isNull()) {
        pixmap = QIcon(animationFramePath(frame)).pixmap(kFrameSize, kFrameSize);
    }
    setPixmap(pixmap);
}

void StatusAnimation::nextFrame()
{
    if (m_frame < m_run.last) {
        showFrame(m_frame + 1);
    } else if (m_run.repeat) {
        showFrame(m_run.first);
    } else {
        m_timer.stop();
    }
}

} // namespace sorvella
