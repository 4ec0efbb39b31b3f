// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "AboutTiming.h"
#include "Services.h"

#include <QPointer>
#include <QWidget>

class AboutAnimations;
class BannerStrip;
class MailLabel;
class QCheckBox;
class QLabel;
class ScrollArea;
class TitleButton;
class TitleLabel;
class WindowRef;

// The borderless About window: painted frame with bevelled top corners, a
// scrolling text, the author's books and links, and a countdown that closes it
// with a collapse animation. It deletes itself when it closes.
class AboutWindow : public QWidget {
    Q_OBJECT
public:
    AboutWindow(const AboutServices &services, WindowRef &bookCover, AboutTiming timing = {});

    // False when the window declined to open (another copy of the program runs).
    bool isLoaded() const { return loaded_; }

    // Plays the collapse animation, then runs `then`. A request made while the
    // animation runs joins it.
    void PhaseOutForm(std::function<void()> then);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void connectHandlers();

    void Form_Load();
    void ShapeForm();
    void Form_Activate();
    void ScrollText();
    void Timer1_Timer();
    void Form_Unload();
    void unload();
    void imgTitleButton_Click();
    void lblTitle_MouseDown(Qt::MouseButton button, const QPoint &globalPosition);
    void labEmail_MouseMove();
    void Form_MouseMove();
    void labEmail_Click();
    void Form_Click();
    void Check1_Click();
    bool activationFromAnotherForm() const;
    int readGeometry(const char *key, double defaultValue);

    AboutServices services_;
    WindowRef &bookCover_;
    AboutAnimations *animations_ = nullptr;
    bool loaded_ = false;
    bool unloaded_ = false;
    bool activatedOnce_ = false;
    bool pressedOnBackground_ = false;
    int widthTwips_ = 4920;
    int heightTwips_ = 3075;
    // The window that had the focus before this one, or nothing when the focus
    // came from outside the program.
    QPointer<QWindow> focusBefore_;

    QCheckBox *Check1 = nullptr;
    ScrollArea *picScroll = nullptr;
    BannerStrip *ShockwaveFlash1 = nullptr;
    TitleLabel *lblTitle = nullptr;
    TitleButton *imgTitleButton = nullptr;
    MailLabel *labEmail = nullptr;
};
