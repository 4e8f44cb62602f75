#include "basBrevanto2.h"

#include "UserPrompt.h"
#include "basRuntime.h"

using namespace Qt::StringLiterals;

namespace basBrevanto2 {

QString programVersion() {
    return QString::number(BREVANTO2_VERSION_MAJOR) + u'.' +
           u"%1"_s.arg(BREVANTO2_VERSION_MINOR, 2, 10, QChar(u'0'));
}

QString windowCaption() {
    return u"BREVANTO Ver."_s + programVersion();
}

bool checkAnalysisLibrary(const VersionSource& version, UserPrompt& prompt) {
    const std::optional<QString> text = version ? version() : std::nullopt;
    // Versions compare as numbers: 2.15 and below are too old.
    if (text && basRuntime::leadingNumber(*text) > 2.15)
        return true;
    prompt.message(LibraryMessage, UserPrompt::Buttons::Ok, UserPrompt::Icon::Critical, QString());
    return false;
}

int startUp(const VersionSource& version, UserPrompt& prompt, const std::function<int()>& showMain) {
    if (!checkAnalysisLibrary(version, prompt))
        return 1;
    return showMain();
}

} // namespace basBrevanto2
