#include "CdImageOption.h"

#include "drives/platform/Platform.h"
#include "drives/platform/formats/DiscImage.h"

using namespace Qt::StringLiterals;

namespace {
const QString kOption = u"--cd-image"_s;

QString reason(DiscImage::Verdict verdict)
{
    switch (verdict) {
    case DiscImage::Verdict::Missing:
        return u"文件不存在。"_s;
    case DiscImage::Verdict::NotAFile:
        return u"这不是一个文件。"_s;
    case DiscImage::Verdict::Unreadable:
        return u"文件无法打开读取。"_s;
    case DiscImage::Verdict::NoVolume:
        return u"文件中没有 ISO 9660、Joliet 或 UDF 卷，不是光盘映像。"_s;
    case DiscImage::Verdict::Usable:
        break;
    }
    return u"没有空闲的驱动器号了。"_s;
}

CdImageOption::Failure failure(const QString &path)
{
    if (path.isEmpty())
        return {u"命令行参数 %1 后缺少光盘映像文件的路径。"_s.arg(kOption), QString()};
    return {u"无法载入光盘映像：%1"_s.arg(path), reason(DiscImage::check(path))};
}
} // namespace

namespace CdImageOption {

QStringList paths(const QStringList &arguments)
{
    QStringList result;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == kOption)
            result.append(i + 1 < arguments.size() ? arguments[++i] : QString());
        else if (argument.startsWith(kOption + u'='))
            result.append(argument.mid(kOption.size() + 1));
    }
    return result;
}

QList<Failure> attachAll(const QStringList &arguments, Platform &platform)
{
    QList<Failure> failures;
    for (const QString &path : paths(arguments)) {
        if (path.isEmpty() || !platform.attachImage(path))
            failures.append(failure(path));
    }
    return failures;
}

} // namespace CdImageOption
