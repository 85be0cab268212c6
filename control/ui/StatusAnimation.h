#pragma once

#include "control/MainView.h"

#include <QLabel>
#include <QTimer>

namespace sorvella {

// The status animation: a label that steps through the frames of a run.
class StatusAnimation : public QLabel {
    Q_OBJECT

public:
    explicit StatusAnimation(QWidget* parent = nullptr);

    void play(const AnimationRun& run);
    int currentFrame() const { return m_frame; }

private:
    void showFrame(int frame);
    void nextFrame();

    QTimer m_timer;
    AnimationRun m_run;
    int m_frame = -1;
};

} // namespace sorvella
