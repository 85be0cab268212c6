#pragma once

#include "control/MainView.h"

#include <QWidget>

namespace sorvella {

// One level meter: a framed row of coloured segments.
class LevelMeter : public QWidget {
    Q_OBJECT

public:
    explicit LevelMeter(QWidget* parent = nullptr);

    void setReading(const MeterReading& reading);
    const MeterReading& reading() const { return m_reading; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    MeterReading m_reading;
};

} // namespace sorvella
