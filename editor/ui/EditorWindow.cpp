#include "editor/ui/EditorWindow.h"

#include "core/OpenWindows.h"
#include "core/Prompter.h"
#include "editor/SelectionSaves.h"
#include "editor/ui/EditorIcons.h"
#include "editor/ui/WaveformView.h"
#include "engine/RingStore.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSlider>

namespace sorvella {
namespace {

// Where the view sits in the window and the scroll bar under it.
constexpr int kMargin = 8;
constexpr int kTopRow = 40;
constexpr int kBottomRow = 40;
constexpr int kScrollGap = 12;
constexpr int kScrollHeight = 20;

QString text(const std::string& value)
{
    return QString::fromStdString(value);
}

QLineEdit* readOnlyField(QWidget* parent, const char* name, const QString& tip, int width)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setReadOnly(true);
    field->setToolTip(tip);
    field->setFixedWidth(width);
    return field;
}

} // namespace

EditorWindow::EditorWindow(const Services& services, std::unique_ptr<RingStore> store,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services), m_saves(services.makeSaves(*this)),
      m_document(std::make_unique<EditorDocument>(
          EditorDocument::Services{
              .mainSettings = services.mainSettings,
              .view = *this,
              .prompter = services.prompter,
              .clock = services.clock,
              .saves = *m_saves,
              .events = *this,
              .makePlayback = services.makePlayback,
              .freeSpace = services.freeSpace,
          },
          std::move(store)))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("editorWindow"));
    buildControls();
    connectControls();
    connectView();
    setWindowTitle(text(m_document->title()));
    setWindowIcon(QApplication::windowIcon());
    resize(960, 360);
    m_services.openWindows.add(*this);
    m_document->layout();
}

EditorWindow::~EditorWindow()
{
    m_services.openWindows.remove(*this);
    m_document.reset();
}

void EditorWindow::buildControls()
{
    m_row = new QWidget(this);
    auto* row = new QHBoxLayout(m_row);
    row->setContentsMargins(0, 0, 0, 0);
    const auto button = [this, row](const char* name, const char* icon, const QString& label,
                                    const QString& tip, bool checkable) {
        auto* b = new QPushButton(m_row);
        b->setObjectName(QLatin1String(name));
        b->setIcon(editorIcon(icon));
        b->setToolTip(tip);
        b->setAccessibleName(QString(label).remove('&'));
        b->setShortcut(QKeySequence::mnemonic(label));
        b->setCheckable(checkable);
        row->addWidget(b);
        return b;
    };
    m_zoomIn = button("zoomInButton", "zoom-in", tr("&+Zoom"), tr("Zoom in"), false);
    m_zoomOut = button("zoomOutButton", "zoom-out", tr("&-"), tr("Zoom out"), false);
    m_modes = new QButtonGroup(this);
    m_modes->addButton(
        button("startButton", "mode-start", tr("&L"), tr("Adjust start position"), true),
        static_cast<int>(EditMode::AdjustStart));
    m_modes->addButton(button("playModeButton", "mode-play", tr("&P"), tr("Play mode"), true),
                       static_cast<int>(EditMode::Play));
    m_modes->addButton(button("endButton", "mode-end", tr("&R"), tr("Adjust end position"), true),
                       static_cast<int>(EditMode::AdjustEnd));
    m_fadeSlider = new QSlider(Qt::Horizontal, m_row);
    m_fadeSlider->setObjectName(QStringLiteral("fadeSlider"));
    m_fadeSlider->setRange(0, 10);
    m_fadeSlider->setPageStep(1);
    m_fadeSlider->setFixedWidth(90);
    row->addWidget(m_fadeSlider);
    m_fadeText = readOnlyField(m_row, "fadeField", QString(), 70);
    row->addWidget(m_fadeText);
    m_playFaded = button("playFadedButton", "play-faded", tr("PlayFaded"),
                         tr("Play fade in and fade out"), true);
    m_play = button("playButton", "play", tr("Play"), tr("Play"), true);
    m_playTime = readOnlyField(m_row, "playTimeField", tr("Current play time"), 80);
    row->addWidget(m_playTime);
    m_amplify = button("amplifyButton", "amplify", tr("Auto Amplify"), QString(), true);
    m_amplify->setChecked(m_document->autoAmplify());
    m_save = button("saveButton", "save", tr("Save"), tr("Save selected area"), false);
    m_saveAndClose = button("saveAndCloseButton", "save-close", tr("saveandclose"),
                            tr("Save selected area and Close"), false);
    m_selectedRange = readOnlyField(m_row, "selectedRangeField", tr("Selected range"), 80);
    row->addWidget(m_selectedRange);
    m_help = button("helpButton", "help", tr("&help"), QString(), false);
    row->addStretch();

    m_view = new WaveformView(m_document->store(), m_document->mapping(), this);
    m_view->setObjectName(QStringLiteral("waveformView"));
    m_scrollBar = new QScrollBar(Qt::Horizontal, this);
    m_scrollBar->setObjectName(QStringLiteral("scrollBar"));
}

void EditorWindow::connectControls()
{
    EditorDocument& document = *m_document;
    connect(m_zoomIn, &QPushButton::clicked, this, [&document] { document.zoomIn(); });
    connect(m_zoomOut, &QPushButton::clicked, this,
            [&document] { document.changeView([](WaveformMapping& view) { view.zoomOut(); }); });
    connect(m_modes, &QButtonGroup::idClicked, this,
            [&document](int id) { document.setMode(static_cast<EditMode>(id)); });
    connect(m_fadeSlider, &QSlider::valueChanged, this,
            [&document](int step) { document.moveFadeSlider(step); });
    connect(m_playFaded, &QPushButton::toggled, this,
            [&document](bool faded) { document.setPlayFaded(faded); });
    connect(m_play, &QPushButton::clicked, this, [&document] { document.pressPlay(); });
    connect(m_amplify, &QPushButton::toggled, this,
            [&document](bool amplify) { document.setAutoAmplify(amplify); });
    connect(m_save, &QPushButton::clicked, this,
            [this] { forward([this] { m_document->saveSelection(); }); });
    connect(m_saveAndClose, &QPushButton::clicked, this, &EditorWindow::saveAndClose);
    connect(m_help, &QPushButton::clicked, this, [this] { m_services.help(kHelpTopic); });
    connect(m_scrollBar, &QScrollBar::actionTriggered, this, &EditorWindow::scrollAction);
    connect(new QShortcut(Qt::Key_Space, this), &QShortcut::activated, this,
            [&document] { document.pressPlay(); });
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this,
            [&document] { document.stopPlayback(); });
}

void EditorWindow::connectView()
{
    EditorDocument& document = *m_document;
    connect(m_view, &WaveformView::pressed, this, [&document](int x) { document.pressAt(x); });
    connect(m_view, &WaveformView::dragged, this, [&document](int x) { document.dragTo(x); });
    connect(m_view, &WaveformView::doubleClicked, this, [&document](int x) {
        document.changeView([x](WaveformMapping& view) { view.zoomAt(x); });
    });
    connect(m_view, &WaveformView::rightClicked, this,
            [&document] { document.changeView([](WaveformMapping& view) { view.zoomOut(); }); });
    connect(m_view, &WaveformView::wheelScrolled, this, [&document](int lines) {
        document.changeView([lines](WaveformMapping& view) { view.scrollLines(lines); });
    });
    connect(m_view, &WaveformView::wheelZoomed, this, [&document](int x, int steps) {
        document.changeView([x, steps](WaveformMapping& view) {
            for (int step = 0; step < steps; ++step) {
                view.zoomAt(x);
            }
            for (int step = 0; step > steps; --step) {
                view.zoomOut();
            }
        });
    });
    connect(m_view, &WaveformView::widthChanged, this, [this] { m_view->refresh(); });
}

void EditorWindow::scrollAction(int action)
{
    const int thumb = m_scrollBar->sliderPosition();
    m_document->changeView([action, thumb](WaveformMapping& view) {
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            view.scrollLines(1);
            break;
        case QAbstractSlider::SliderSingleStepSub:
            view.scrollLines(-1);
            break;
        case QAbstractSlider::SliderPageStepAdd:
        case QAbstractSlider::SliderToMaximum:
            view.scrollPages(1);
            break;
        case QAbstractSlider::SliderPageStepSub:
        case QAbstractSlider::SliderToMinimum:
            view.scrollPages(-1);
            break;
        case QAbstractSlider::SliderMove:
            view.placeThumb(thumb);
            break;
        default:
            break;
        }
    });
}

void EditorWindow::saveAndClose()
{
    forward([this] {
        if (m_document->saveAndClose()) {
            m_closeDecided = true;
            close();
        }
    });
}

void EditorWindow::forward(const std::function<void()>& command)
{
    try {
        command();
    } catch (const RecException& error) {
        m_services.prompter.ask(error.message(), "", Prompter::Buttons::Ok, Prompter::Icon::None);
    }
}

void EditorWindow::showWindow()
{
    showNormal();
    setEnabled(true);
    raise();
}

void EditorWindow::closeWindow()
{
    m_document->closeNow();
    m_closeDecided = true;
    close();
}

void EditorWindow::closeEvent(QCloseEvent* event)
{
    if (!m_closeDecided) {
        forward([this] { m_closeDecided = m_document->requestClose(); });
    }
    if (m_closeDecided) {
        event->accept();
    } else {
        event->ignore();
    }
}

void EditorWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_row->setGeometry(kMargin, kMargin, width() - 2 * kMargin, kTopRow - kMargin - 4);
    const QRect view(kMargin, kTopRow, width() - 2 * kMargin, height() - kTopRow - kBottomRow);
    m_view->setGeometry(view);
    m_scrollBar->setGeometry(view.left(), view.bottom() + 1 + kScrollGap, view.width(),
                             kScrollHeight);
    m_document->layout();
}

void EditorWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        m_document->deactivated();
    } else if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        m_document->minimised();
    }
}

void EditorWindow::showDisplays(const EditorDisplays& displays)
{
    {
        const QSignalBlocker blockModes(m_modes);
        m_modes->button(static_cast<int>(displays.mode))->setChecked(true);
    }
    {
        const QSignalBlocker blockSlider(m_fadeSlider);
        m_fadeSlider->setValue(displays.fadeStep);
    }
    m_fadeSlider->setEnabled(displays.fadeEnabled);
    m_fadeSlider->setToolTip(text(displays.fadeToolTip));
    m_fadeText->setText(text(displays.fadeText));
    m_fadeText->setEnabled(displays.fadeEnabled);
    m_fadeText->setToolTip(text(displays.fadeToolTip));
    m_play->setChecked(displays.playDown);
    m_amplify->setToolTip(text(displays.amplifyToolTip));
    m_selectedRange->setText(text(displays.selectedRange));
}

void EditorWindow::showPlayTime(const std::string& time)
{
    m_playTime->setText(text(time));
}

void EditorWindow::showSelection()
{
    m_view->refresh();
}

void EditorWindow::showRange(const ScrollBarState& scrollBar)
{
    const QSignalBlocker block(m_scrollBar);
    m_scrollBar->setRange(0, scrollBar.limit);
    m_scrollBar->setPageStep(scrollBar.page);
    m_scrollBar->setSingleStep(1);
    m_scrollBar->setSliderPosition(scrollBar.position);
    m_scrollBar->setValue(scrollBar.position);
    m_scrollBar->setEnabled(scrollBar.enabled);
    m_view->refresh();
}

void EditorWindow::cursorAt(int x)
{
    QMetaObject::invokeMethod(
        this,
        [this, x] {
            m_view->drawCursor(x);
            m_document->showPlayTime(true);
        },
        Qt::QueuedConnection);
}

void EditorWindow::playbackEnded()
{
    QMetaObject::invokeMethod(
        this, [this] { m_document->playbackEnded(); }, Qt::QueuedConnection);
}

} // namespace sorvella
