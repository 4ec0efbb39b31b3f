// SPDX-License-Identifier: GPL-3.0-or-later

#include "AboutWindow.h"

#include "AboutAnimations.h"
#include "BannerStrip.h"
#include "Beeper.h"
#include "InstanceGuard.h"
#include "LinkOpener.h"
#include "MailLabel.h"
#include "MailLink.h"
#include "MessageBox.h"
#include "ProgramTexts.h"
#include "ScrollArea.h"
#include "SettingText.h"
#include "SettingsStore.h"
#include "TitleButton.h"
#include "TitleLabel.h"
#include "Twips.h"
#include "UiLook.h"
#include "WindowRef.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWindow>

namespace {

const QString authorEmail = QStringLiteral("m@example.org");
const QString homePage = QStringLiteral("https://example.com/quillbox");

const QString settingsApp = QStringLiteral("Quillbox");
const QString settingsSection = QStringLiteral("Settings");

constexpr int designWidth = 4920;
constexpr int designHeight = 3075;

int px(int twips) { return twipsToPixels(twips); }

QRect twipsRect(int left, int top, int width, int height) { return QRect(px(left), px(top), px(width), px(height)); }

QString settingText(double value) { return QString::fromStdString(formatSettingNumber(value)); }

void setTextColour(QWidget *control, const QColor &colour)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, colour);
    control->setPalette(palette);
}

template <class Label = QLabel>
Label *addLabel(QWidget *window, const char *name, const QString &text, int left, int top, int width, int height)
{
    auto *label = new Label(text, window);
    label->setObjectName(QString::fromUtf8(name));
    label->setGeometry(twipsRect(left, top, width, height));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Labels tall enough for two lines wrap; one-line labels cut off what does not fit.
    label->setWordWrap(label->height() >= 2 * label->fontMetrics().height());
    return label;
}

QLabel *addPicture(QWidget *window, const char *name, const QString &file, int leftTwips, int topTwips)
{
    auto *picture = new QLabel(window);
    picture->setObjectName(QString::fromUtf8(name));
    const QPixmap pixmap(QStringLiteral(":/assets/") + file);
    picture->setPixmap(pixmap);
    picture->setGeometry(QRect(QPoint(px(leftTwips), px(topTwips)), pixmap.size()));
    return picture;
}

} // namespace

AboutWindow::AboutWindow(const AboutServices &services, WindowRef &bookCover, AboutTiming timing)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint)
    , services_(services)
    , bookCover_(bookCover)
    , animations_(new AboutAnimations(std::move(timing), this))
{
    setObjectName(QStringLiteral("frmAbout2"));
    setWindowTitle(QStringLiteral("关于 Quillbox"));
    setWindowIcon(appIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    // A tool window would not keep the program alive on its own.
    setAttribute(Qt::WA_QuitOnClose, true);
    setFont(uiFont(9));
    setPalette(classicPalette());
    setAutoFillBackground(true);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);

    buildControls();
    connectHandlers();
    Form_Load();
}

// Controls are made back to front, so each one lies over those before it.
void AboutWindow::buildControls()
{
    labEmail = addLabel<MailLabel>(this, "labEmail", QStringLiteral("联系作者：") + authorEmail, 120, 1920, 2775, 255);
    labEmail->setFont(uiFont(10.5));
    setTextColour(labEmail, QColor(0, 128, 128));

    addPicture(this, "imgBorder", QStringLiteral("border-h.png"), 0, 5055);
    addPicture(this, "imgBorder", QStringLiteral("border-v.png"), 0, 0);
    addPicture(this, "imgTitle", QStringLiteral("title.png"), 45, 0);

    lblTitle = addLabel<TitleLabel>(this, "lblTitle", QStringLiteral("Marvolt 精品集"), 0, 120, 4380, 330);
    lblTitle->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setTextColour(lblTitle, QColor(107, 36, 0));

    imgTitleButton = new TitleButton(QPixmap(QStringLiteral(":/assets/title-button.png")), this);
    imgTitleButton->setObjectName(QStringLiteral("imgTitleButton"));
    imgTitleButton->setAccessibleName(Texts::closeName());
    imgTitleButton->setGeometry(QRect(QPoint(px(4440), px(80)), imgTitleButton->sizeHint()));
    addPicture(this, "imgCorner", QStringLiteral("corner.png"), 4800, 0);
    addPicture(this, "imgBorder", QStringLiteral("border-v.png"), 4850, 0);
    addPicture(this, "imgCorner", QStringLiteral("corner.png"), 0, 2955);
    addPicture(this, "imgBorder", QStringLiteral("border-h.png"), 45, 3015);
    addPicture(this, "imgCorner", QStringLiteral("corner.png"), 4785, 2955);

    addLabel(this, "Label1", QStringLiteral("1.《整理之书》"), 2760, 720, 1920, 255);
    addLabel(this, "Label2", QStringLiteral("Marvolt著作新书："), 2880, 480, 1455, 255);
    addLabel(this, "Label3", QStringLiteral("2.《文件的旅程》"), 2760, 960, 2055, 495);
    addLabel(this, "Label4", QStringLiteral("3.《批量之道》"), 2760, 1320, 2055, 495);

    ShockwaveFlash1 = new BannerStrip(this);
    ShockwaveFlash1->setObjectName(QStringLiteral("ShockwaveFlash1"));
    ShockwaveFlash1->setAccessibleName(Texts::bannerName());
    ShockwaveFlash1->setGeometry(twipsRect(60, 2385, 4755, 630));

    picScroll = new ScrollArea(Texts::aboutScrollText(), this);
    picScroll->setObjectName(QStringLiteral("picScroll"));
    picScroll->setGeometry(twipsRect(120, 480, 2415, 1095));

    Check1 = new QCheckBox(QStringLiteral("查看新书封面"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(twipsRect(3120, 1680, 1455, 375));
}

void AboutWindow::connectHandlers()
{
    connect(Check1, &QCheckBox::clicked, this, &AboutWindow::Check1_Click);
    connect(imgTitleButton, &TitleButton::clicked, this, &AboutWindow::imgTitleButton_Click);
    connect(lblTitle, &TitleLabel::pressed, this, &AboutWindow::lblTitle_MouseDown);
    connect(labEmail, &MailLabel::hovered, this, &AboutWindow::labEmail_MouseMove);
    // Queued: the message box it may show runs outside the label's own event handling,
    // so the window may end while the box is open.
    connect(labEmail, &MailLabel::clicked, this, &AboutWindow::labEmail_Click, Qt::QueuedConnection);
    connect(animations_, &AboutAnimations::scrolled, picScroll, &ScrollArea::setTextTop);
    connect(animations_, &AboutAnimations::countdownEnded, this, &AboutWindow::Timer1_Timer);
    connect(animations_, &AboutAnimations::collapseShows, this, [this](const QRect &visible) {
        // An empty mask would show the whole window; a pixel outside it shows nothing.
        setMask(visible.isEmpty() ? QRegion(-1, -1, 1, 1) : QRegion(visible));
    });
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *now) {
        if (!now || now != windowHandle())
            focusBefore_ = now;
    });
}

int AboutWindow::readGeometry(const char *key, double defaultValue)
{
    const QString text
        = services_.settings.read(settingsApp, settingsSection, QString::fromLatin1(key), settingText(defaultValue));
    // A stored value out of range counts as missing, so one bad entry cannot
    // leave the window without its countdown and outline.
    const std::optional<std::int16_t> value = settingToInt16(text.toStdString());
    if (value)
        return *value;
    return int(roundHalfEven(defaultValue));
}

void AboutWindow::Form_Load()
{
    if (services_.instances.otherCopyRunning())
        return;

    QSize screenPx(1024, 768);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        screenPx = screen->size();
    const int x = readGeometry("X", (screenPx.width() * twipsPerPixel - designWidth) / 2.0);
    const int y = readGeometry("Y", (screenPx.height() * twipsPerPixel - designHeight) / 2.0);
    const int w = readGeometry("W", designWidth);
    const int h = readGeometry("H", designHeight);
    // A size that hides the title button counts as missing too: the window
    // could not be closed, and closing it would store that size again.
    const QRect button = imgTitleButton->geometry();
    widthTwips_ = w >= (button.right() + 1) * twipsPerPixel ? w : designWidth;
    heightTwips_ = h >= (button.bottom() + 1) * twipsPerPixel ? h : designHeight;
    setGeometry(px(x), px(y), px(widthTwips_), px(heightTwips_));

    animations_->startCountdown();
    ShapeForm();
    loaded_ = true;
}

void AboutWindow::ShapeForm()
{
    QPolygon outline;
    for (const PointPx &point : ShapeFormOutline(widthTwips_, heightTwips_))
        outline << QPoint(point.x, point.y);
    setMask(QRegion(outline, Qt::WindingFill));
}

bool AboutWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && !unloaded_ && (!activatedOnce_ || activationFromAnotherForm())) {
        activatedOnce_ = true;
        // Run from the event loop, not inside the window system's activation.
        QMetaObject::invokeMethod(this, &AboutWindow::Form_Activate, Qt::QueuedConnection);
    }
    return QWidget::event(event);
}

bool AboutWindow::activationFromAnotherForm() const
{
    if (!focusBefore_)
        return false;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window != this && window->windowHandle() == focusBefore_)
            return !qobject_cast<QDialog *>(window);
    return false;
}

void AboutWindow::Form_Activate()
{
    move(px(200), px(400));
    ShockwaveFlash1->setGeometry(twipsRect(60, 2385, 4755, 630));
    ScrollText();
}

void AboutWindow::ScrollText()
{
    update();
    const int textHeight = picScroll->measureTextHeight();
    if (textHeight == 0) {
        const QPointer<AboutWindow> alive(this);
        services_.messages.show(QStringLiteral("Error scrolling text"), MsgStyle::OkExclamation,
                                QStringLiteral("Quillbox"));
        if (alive)
            unload();
        return;
    }
    animations_->startScroll(picScroll->contentsRect().height(), textHeight);
}

void AboutWindow::Timer1_Timer()
{
    PhaseOutForm([this] {
        services_.beeper.beep();
        unload();
    });
}

void AboutWindow::PhaseOutForm(std::function<void()> then)
{
    animations_->collapse(width(), height(), std::move(then));
}

void AboutWindow::Form_Unload() { animations_->stop(); }

void AboutWindow::unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    close();
}

void AboutWindow::imgTitleButton_Click()
{
    if (unloaded_)
        return;
    const std::pair<const char *, int> geometry[] = {{"X", x()}, {"Y", y()}, {"W", width()}, {"H", height()}};
    for (const auto &[key, pixels] : geometry)
        services_.settings.write(settingsApp, settingsSection, QString::fromLatin1(key),
                                 settingText(pixels * twipsPerPixel));
    PhaseOutForm([this] { unload(); });
}

void AboutWindow::lblTitle_MouseDown(Qt::MouseButton button, const QPoint &globalPosition)
{
    if (button == Qt::LeftButton && windowState() == Qt::WindowNoState)
        lblTitle->dragWindow(globalPosition);
}

void AboutWindow::labEmail_Click()
{
    if (!services_.links.open(buildMailLink(authorEmail)))
        services_.messages.show(Texts::noMailProgram(), MsgStyle::OkExclamation, Texts::authorTitle());
}

void AboutWindow::labEmail_MouseMove()
{
    QFont font = labEmail->font();
    font.setUnderline(true);
    labEmail->setFont(font);
    setTextColour(labEmail, QColor(0, 0, 255));
}

void AboutWindow::Form_MouseMove()
{
    QFont font = labEmail->font();
    font.setUnderline(false);
    labEmail->setFont(font);
    setTextColour(labEmail, palette().color(QPalette::ButtonText));
}

void AboutWindow::Form_Click() { services_.links.open(homePage); }

void AboutWindow::Check1_Click() { bookCover_.showOrRaise(); }

void AboutWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        imgTitleButton_Click();
    else
        QWidget::keyPressEvent(event);
}

void AboutWindow::mouseMoveEvent(QMouseEvent *event)
{
    // Only the bare background; moving over another control changes nothing.
    if (!childAt(event->position().toPoint()))
        Form_MouseMove();
    QWidget::mouseMoveEvent(event);
}

void AboutWindow::mousePressEvent(QMouseEvent *event)
{
    pressedOnBackground_ = event->button() == Qt::LeftButton && !childAt(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

void AboutWindow::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = pressedOnBackground_ && event->button() == Qt::LeftButton
                       && rect().contains(event->position().toPoint()) && !childAt(event->position().toPoint());
    pressedOnBackground_ = false;
    if (click)
        Form_Click();
    QWidget::mouseReleaseEvent(event);
}

void AboutWindow::closeEvent(QCloseEvent *event)
{
    unloaded_ = true;
    Form_Unload();
    QWidget::closeEvent(event);
}
