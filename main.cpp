#include "AboutWindow.h"
#include "BookCoverWindow.h"
#include "ProgramLook.h"
#include "RenameWindow.h"
#include "SystemServices.h"
#include "WindowRef.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillbox"));
    applyProgramLook(app);

    SystemServices system;
    const Services services = system.services();

    WindowRef bookCover([] { return new BookCoverWindow; });
    WindowRef about([&]() -> QWidget * {
        auto *window = new AboutWindow(services, bookCover);
        if (window->isLoaded())
            return window;
        delete window;
        return nullptr;
    });

    RenameWindow renameWindow(services, about);
    renameWindow.show();
    const int status = app.exec();
    delete bookCover.window();
    return status;
}
