// SPDX-License-Identifier: GPL-3.0-or-later

#include "DisplayApplication.h"

#include "CommandLine.h"

#include <QCommandLineParser>
#include <QList>
#include <cstdio>
#include <cstdlib>

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
QList<HeldMessage> *held = nullptr;

void holdOrEnd(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        std::fputs("quillbox: no display to open the window on (is DISPLAY or WAYLAND_DISPLAY set?)\n", stderr);
        std::_Exit(1);
    }
    held->append({type, QByteArray(context.category), text});
}

} // namespace

std::unique_ptr<QApplication> applicationOnADisplay(int &argc, char **argv)
{
    QList<HeldMessage> messages;
    held = &messages;
    const QtMessageHandler previous = qInstallMessageHandler(holdOrEnd);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    held = nullptr;
    for (const HeldMessage &message : messages)
        qt_message_output(message.type, QMessageLogContext(nullptr, 0, nullptr, message.category.constData()),
                          message.text);
    return app;
}

void printHelpWithQtOptions(char *program)
{
    // Only the help goes out: what Qt says while it starts is held for good.
    QList<HeldMessage> messages;
    held = &messages;
    qInstallMessageHandler(holdOrEnd);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char *argv[] = {program, nullptr};
    QApplication app(argc, argv);
    QCommandLineParser parser;
    describeOptions(parser);
    parser.process(QStringList{QCoreApplication::arguments().value(0), QStringLiteral("--help-all")});
    std::exit(0); // process() has printed the help and left already
}
