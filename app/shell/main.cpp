// The finish program with its window; the console station and the exports are the station
// library's.
#include "basBrevanto2.h"
#include "basCommandLine.h"
#include "basTicketPrinter.h"
#include "clsMachineSettings.h"
#include "clsQtUserPrompt.h"
#include "clsTicketPrinter.h"
#include "ctlDataFolder.h"
#include "ctlEcard250Reader.h"
#include "frmMain.h"

#include <QApplication>

namespace {

int runWindow(const basCommandLine::Options& options, clsQtUserPrompt& prompt) {
    clsMachineSettings settings(options.settings);
    frmMain window(&prompt, &settings);
    prompt.setParent(&window);
    // The device first: opening the folder connects the reading unit.
    if (!options.port.isEmpty() && window.ReaderPanel())
        window.ReaderPanel()->setDevicePath(options.port);
    if (!options.data.isEmpty())
        window.DataFolderControl()->SelectFolder(basCommandLine::folderPath(options.data));
    window.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    // This program can print lap tickets, in its window and as the console station.
    clsTicketPrinter::setPrinterMaker(&basTicketPrinter::makePrinter);
    return basCommandLine::main(argc, argv,
                                [](int& argc, char** argv, const basCommandLine::Options& options) {
                                    QApplication app(argc, argv);
                                    clsQtUserPrompt prompt;
                                    return basBrevanto2::startUp(basCommandLine::libraryVersion(), prompt,
                                                                 [&] { return runWindow(options, prompt); });
                                });
}
