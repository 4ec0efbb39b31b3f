#pragma once

#include "AboutGeometry.h"
#include "AboutTiming.h"
#include "Services.h"

#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

class BannerStrip;
class QCheckBox;
class QLabel;
class QMouseEvent;
class ScrollArea;
class WindowRef;

// The borderless About window: painted frame with bevelled top corners, a
// scrolling text, the author's books and links, and a countdown that closes it
// with a collapse animation. It deletes itself when it closes.
class AboutWindow : public QWidget {
    Q_OBJECT
public:
    AboutWindow(const Services &services, WindowRef &bookCover, AboutTiming timing = {});

    // False when the window declined to open (another copy of the program runs).
    bool isLoaded() const { return loaded_; }
    bool stopScroll() const { return stopScroll_; }

    // Plays the collapse animation, then runs `then`. A request made while the
    // animation runs joins it.
    void PhaseOutForm(std::function<void()> then);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    QLabel *addPicture(const char *name, int index, const QString &file, int leftTwips, int topTwips);
    QLabel *addLabel(const char *name, const QString &text, int left, int top, int width, int height);

    void Form_Load();
    void ShapeForm();
    void Form_Activate();
    void ScrollText();
    void scrollFrame();
    void Timer1_Timer();
    void imgTitleButton_Click();
    void lblTitle_MouseDown(QMouseEvent *event);
    void labEmail_Click();
    void Form_Click();
    void Check1_Click();
    void controlMouseEvent(QObject *control, QMouseEvent *event);
    void setEmailHover(bool hover);
    void collapseStep();
    int readGeometry(const char *key, double defaultValue);

    Services services_;
    WindowRef &bookCover_;
    AboutTiming timing_;
    bool loaded_ = false;
    bool stopScroll_ = false;
    int widthTwips_ = 4920;
    int heightTwips_ = 3075;

    QTimer Timer1;
    int TimeLeft = 10;

    QTimer frameTimer_;
    int textHeight_ = 0;

    QTimer collapseTimer_;
    std::vector<RectPx> collapseSteps_;
    std::size_t collapseIndex_ = 0;
    std::vector<std::function<void()>> afterCollapse_;

    bool pressedOnBackground_ = false;
    QPoint dragOffset_;
    bool manualDrag_ = false;

    QCheckBox *Check1 = nullptr;
    ScrollArea *picScroll = nullptr;
    BannerStrip *ShockwaveFlash1 = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *imgTitleButton = nullptr;
    QLabel *labEmail = nullptr;
};
