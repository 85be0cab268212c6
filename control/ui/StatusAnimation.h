#pragma once

#include "control/MainView.h"

#include <QLabel>
#include <QPixmap>
#include <QTimer>

#include <array>

namespace sorvella {

// The status animation: a label that steps through the frames of a run.
class StatusAnimation : public QLabel {
    Q_OBJECT

public:
    explicit StatusAnimation(QWidget* parent = nullptr);

    void play(const AnimationRun& run);
    int currentFrame() const { return m_frame; }

    // Off screen (minimised or hidden in the tray) the frames stand still:
    // nobody sees them, and a recorder left for days should not wake for them.
    void setOnScreen(bool onScreen);
    bool stepping() const { return m_timer.isActive(); }

private:
    static constexpr int kFrames = 11;

    void showFrame(int frame);
    void nextFrame();
    void steppingFollowsRun();

    QTimer m_timer;
    AnimationRun m_run;
    int m_frame = -1;
    bool m_onScreen = true;
    std::array<QPixmap, kFrames> m_pixmaps; // each drawn once, when first shown
};

} // namespace sorvella
