#include "AboutWindow.h"

#include "BannerStrip.h"
#include "Beeper.h"
#include "Countdown.h"
#include "InstanceGuard.h"
#include "LinkOpener.h"
#include "MailLink.h"
#include "MessageBox.h"
#include "ScrollArea.h"
#include "SettingText.h"
#include "SettingsStore.h"
#include "Twips.h"
#include "UiLook.h"
#include "WindowRef.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

namespace {

const QString authorEmail = QStringLiteral("qb@example.com");
const QString homePage = QStringLiteral("https://example.com/quillbox");
const QString scrollTextLines = QStringLiteral("Quillmark箱\n瞬间完成大批量文件重命名\n为提升您的工作效率");

const QString settingsApp = QStringLiteral("Quillbox");
const QString settingsSection = QStringLiteral("Settings");

constexpr int designWidth = 4920;
constexpr int designHeight = 3075;

int px(int twips) { return twipsToPixels(twips); }

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

QString settingText(double value) { return QString::fromStdString(formatSettingNumber(value)); }

} // namespace

AboutWindow::AboutWindow(const Services &services, WindowRef &bookCover, AboutTiming timing)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint)
    , services_(services)
    , bookCover_(bookCover)
    , timing_(timing)
{
    setObjectName(QStringLiteral("frmAbout2"));
    setWindowTitle(QStringLiteral("关于 Quillbox"));
    setWindowIcon(appIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    // A tool window would not keep the program alive on its own.
    setAttribute(Qt::WA_QuitOnClose, true);
    setFont(uiFont(9));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, windowBackground());
    setPalette(palette);
    setAutoFillBackground(true);
    setMouseTracking(true);

    Timer1.setTimerType(Qt::PreciseTimer);
    connect(&Timer1, &QTimer::timeout, this, &AboutWindow::Timer1_Timer);
    frameTimer_.setTimerType(Qt::PreciseTimer);
    connect(&frameTimer_, &QTimer::timeout, this, &AboutWindow::scrollFrame);
    collapseTimer_.setTimerType(Qt::PreciseTimer);
    connect(&collapseTimer_, &QTimer::timeout, this, &AboutWindow::collapseStep);

    buildControls();
    Form_Load();
}

QLabel *AboutWindow::addLabel(const char *name, const QString &text, int left, int top, int width, int height)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QString::fromUtf8(name));
    label->setGeometry(twipsRect(left, top, width, height));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Labels tall enough for two lines wrap; one-line labels cut off what does not fit.
    label->setWordWrap(label->height() >= 2 * label->fontMetrics().height());
    return label;
}

QLabel *AboutWindow::addPicture(const char *name, int index, const QString &file, int leftTwips, int topTwips)
{
    auto *picture = new QLabel(this);
    picture->setObjectName(QString::fromUtf8(name));
    if (index >= 0) // a member of a control array
        picture->setProperty("index", index);
    const QPixmap pixmap(QStringLiteral(":/assets/") + file);
    picture->setPixmap(pixmap);
    picture->setGeometry(QRect(QPoint(px(leftTwips), px(topTwips)), pixmap.size()));
    return picture;
}

// Controls are made back to front, so each one lies over those before it.
void AboutWindow::buildControls()
{
    labEmail = addLabel("labEmail", QStringLiteral("联系作者：") + authorEmail, 120, 1920, 2775, 255);
    labEmail->setFont(uiFont(10.5));
    labEmail->setMouseTracking(true);
    QPalette emailPalette = labEmail->palette();
    emailPalette.setColor(QPalette::WindowText, QColor(0, 128, 128));
    labEmail->setPalette(emailPalette);
    labEmail->installEventFilter(this);

    addPicture("imgBorder", 2, QStringLiteral("border-h.png"), 0, 5055);
    addPicture("imgBorder", 0, QStringLiteral("border-v.png"), 0, 0);
    addPicture("imgTitle", -1, QStringLiteral("title.png"), 45, 0);

    lblTitle = addLabel("lblTitle", QStringLiteral("Marvolt 精品集"), 0, 120, 4380, 330);
    lblTitle->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette titlePalette = lblTitle->palette();
    titlePalette.setColor(QPalette::WindowText, QColor(107, 36, 0));
    lblTitle->setPalette(titlePalette);
    lblTitle->installEventFilter(this);

    imgTitleButton = addPicture("imgTitleButton", 2, QStringLiteral("title-button.png"), 4440, 80);
    imgTitleButton->installEventFilter(this);
    addPicture("imgCorner", 1, QStringLiteral("corner.png"), 4800, 0);
    addPicture("imgBorder", 1, QStringLiteral("border-v.png"), 4850, 0);
    addPicture("imgCorner", 2, QStringLiteral("corner.png"), 0, 2955);
    addPicture("imgBorder", 3, QStringLiteral("border-h.png"), 45, 3015);
    addPicture("imgCorner", 3, QStringLiteral("corner.png"), 4785, 2955);

    addLabel("Label1", QStringLiteral("1.《整理之书》"), 2760, 720, 1920, 255);
    addLabel("Label2", QStringLiteral("Marvolt著作新书："), 2880, 480, 1455, 255);
    addLabel("Label3", QStringLiteral("2.《文件的旅程》"), 2760, 960, 2055, 495);
    addLabel("Label4", QStringLiteral("3.《批量之道》"), 2760, 1320, 2055, 495);

    ShockwaveFlash1 = new BannerStrip(this);
    ShockwaveFlash1->setObjectName(QStringLiteral("ShockwaveFlash1"));
    ShockwaveFlash1->setGeometry(twipsRect(60, 2385, 4755, 630));

    picScroll = new ScrollArea(scrollTextLines, this);
    picScroll->setObjectName(QStringLiteral("picScroll"));
    picScroll->setGeometry(twipsRect(120, 480, 2415, 1095));

    Check1 = new QCheckBox(QStringLiteral("查看新书封面"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(twipsRect(3120, 1680, 1455, 375));
    connect(Check1, &QCheckBox::clicked, this, &AboutWindow::Check1_Click);
}

int AboutWindow::readGeometry(const char *key, double defaultValue)
{
    const QString text = services_.settings.read(settingsApp, settingsSection, QString::fromLatin1(key),
                                                 settingText(defaultValue));
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
    int w = readGeometry("W", designWidth);
    int h = readGeometry("H", designHeight);
    // A window cannot be sized to nothing; such a size counts as missing too.
    widthTwips_ = w > 0 ? w : designWidth;
    heightTwips_ = h > 0 ? h : designHeight;
    setGeometry(px(x), px(y), px(widthTwips_), px(heightTwips_));

    Timer1.setInterval(timing_.countdownTick);
    Timer1.start();
    TimeLeft = 10;
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
    if (event->type() == QEvent::WindowActivate && !stopScroll_)
        Form_Activate();
    return QWidget::event(event);
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
    textHeight_ = picScroll->measureTextHeight();
    if (textHeight_ == 0) {
        services_.messages.show(QStringLiteral("Error scrolling text"), MsgStyle::OkExclamation,
                                QStringLiteral("Quillbox"));
        stopScroll_ = true;
        close();
        return;
    }
    picScroll->setTextTop(picScroll->contentsRect().height(), textHeight_);
    frameTimer_.start(timing_.scrollFrame);
}

void AboutWindow::scrollFrame()
{
    const int areaHeight = picScroll->contentsRect().height();
    picScroll->setTextTop(nextScrollTop(picScroll->textTop(), areaHeight, textHeight_), textHeight_);
}

void AboutWindow::Timer1_Timer()
{
    Timer1.stop();
    if (formatTimeLeft(TimeLeft) != "00:00:00") {
        --TimeLeft;
        Timer1.start();
        return;
    }
    PhaseOutForm([this] {
        services_.beeper.beep();
        close();
    });
}

void AboutWindow::PhaseOutForm(std::function<void()> then)
{
    afterCollapse_.push_back(std::move(then));
    if (collapseTimer_.isActive())
        return;
    collapseSteps_ = PhaseOutSteps(width(), height());
    collapseIndex_ = 0;
    collapseStep();
    collapseTimer_.start(timing_.collapseStep);
}

void AboutWindow::collapseStep()
{
    if (collapseIndex_ < collapseSteps_.size()) {
        const RectPx &step = collapseSteps_[collapseIndex_++];
        const QRect visible(QPoint(step.left, step.top), QPoint(step.right - 1, step.bottom - 1));
        // An empty mask would show the whole window; a pixel outside it shows nothing.
        setMask(visible.isEmpty() ? QRegion(-1, -1, 1, 1) : QRegion(visible));
        return;
    }
    collapseTimer_.stop();
    const std::vector<std::function<void()>> continuations = std::move(afterCollapse_);
    afterCollapse_.clear();
    for (const std::function<void()> &next : continuations)
        next();
}

void AboutWindow::imgTitleButton_Click()
{
    const std::pair<const char *, int> geometry[] = {{"X", x()}, {"Y", y()}, {"W", width()}, {"H", height()}};
    for (const auto &[key, pixels] : geometry)
        services_.settings.write(settingsApp, settingsSection, QString::fromLatin1(key),
                                 settingText(pixels * twipsPerPixel));
    PhaseOutForm([this] { close(); });
}

void AboutWindow::lblTitle_MouseDown(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || windowState() != Qt::WindowNoState)
        return;
    manualDrag_ = !(windowHandle() && windowHandle()->startSystemMove());
    dragOffset_ = event->globalPosition().toPoint() - pos();
}

void AboutWindow::labEmail_Click()
{
    if (!services_.links.open(buildMailLink(authorEmail)))
        services_.messages.show(QStringLiteral("没有安装Outlook Express程序，请用其它方与与作者联系。"),
                                MsgStyle::OkExclamation, QStringLiteral("Marvolt"));
}

void AboutWindow::Form_Click() { services_.links.open(homePage); }

void AboutWindow::Check1_Click() { bookCover_.showOrRaise(); }

void AboutWindow::setEmailHover(bool hover)
{
    QFont font = labEmail->font();
    font.setUnderline(hover);
    labEmail->setFont(font);
    QPalette palette = labEmail->palette();
    palette.setColor(QPalette::WindowText, hover ? QColor(0, 0, 255) : QApplication::palette().color(QPalette::ButtonText));
    labEmail->setPalette(palette);
}

bool AboutWindow::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseMove || type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease)
        controlMouseEvent(watched, static_cast<QMouseEvent *>(event));
    return QWidget::eventFilter(watched, event);
}

void AboutWindow::controlMouseEvent(QObject *control, QMouseEvent *event)
{
    const QEvent::Type type = event->type();
    const bool leftRelease = type == QEvent::MouseButtonRelease && event->button() == Qt::LeftButton;
    const QPoint at = event->position().toPoint();
    if (control == labEmail) {
        if (type == QEvent::MouseMove)
            setEmailHover(true);
        else if (leftRelease && labEmail->rect().contains(at))
            labEmail_Click();
    } else if (control == imgTitleButton) {
        if (leftRelease && imgTitleButton->rect().contains(at))
            imgTitleButton_Click();
    } else if (control == lblTitle) {
        if (type == QEvent::MouseButtonPress)
            lblTitle_MouseDown(event);
        else if (type == QEvent::MouseMove && manualDrag_ && (event->buttons() & Qt::LeftButton))
            move(event->globalPosition().toPoint() - dragOffset_);
        else if (type == QEvent::MouseButtonRelease)
            manualDrag_ = false;
    }
}

void AboutWindow::mouseMoveEvent(QMouseEvent *event)
{
    // Only the bare background; moving over another control changes nothing.
    if (!childAt(event->position().toPoint()))
        setEmailHover(false);
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
    stopScroll_ = true;
    Timer1.stop();
    frameTimer_.stop();
    QWidget::closeEvent(event);
}
