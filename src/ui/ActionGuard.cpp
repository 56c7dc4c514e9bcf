#include "ActionGuard.h"

#include "ApplicationTitle.h"
#include "Prompts.h"
#include "store/AppError.h"

#include <QCoreApplication>

#include <exception>

using namespace Qt::StringLiterals;

void ActionGuard::run(Prompts &prompts, const std::function<void()> &handler)
{
    QString text;
    try {
        handler();
        return;
    } catch (const AppError &error) {
        text = error.message();
    } catch (const std::exception &error) {
        text = QString::fromLocal8Bit(error.what());
    } catch (...) {
        text = QCoreApplication::translate("ActionGuard", "未知错误");
    }
    prompts.critical(ApplicationTitle::get(), text);
}
