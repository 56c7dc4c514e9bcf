#include "store/DmQL.h"
#include "store/LCommBusiness.h"
#include "store/LCommFunction.h"
#include "ui/ErrorDialogPresenter.h"

#include <QApplication>
#include <QMainWindow>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    ErrorDialogPresenter presenter;
    TLCommFunction commFunction(&presenter);
    TLCommBusiness commBusiness(commFunction);

    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Quillon"_s);
    QApplication::setApplicationDisplayName(u"光盘索引"_s);

    TdmQL dmQL(QCoreApplication::applicationDirPath(), commFunction, commBusiness);
    if (!dmQL.Connected())
        return 1;

    QMainWindow frmMain;
    frmMain.setObjectName(u"frmMain"_s);
    frmMain.setWindowTitle(u"Quillon系列软件之-光盘索引库"_s);
    frmMain.showMaximized();
    return app.exec();
}
