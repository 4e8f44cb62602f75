#include "basQuorvelin2.h"

#include "clsQuorvelin2.h"

namespace basQuorvelin2 {

namespace {
struct ThreadState {
    clsQuorvelin2* root = nullptr;
    qint32 serial = 0;
    QString errorComment;
};
ThreadState& state() {
    thread_local ThreadState s;
    return s;
}
} // namespace

std::shared_ptr<QObject> CreateObject(QStringView identifier) {
    if (identifier.compare(QStringView(RootIdentifier), Qt::CaseInsensitive) == 0)
        return std::make_shared<clsQuorvelin2>();
    return nullptr;
}

clsQuorvelin2* CurrentRoot() {
    return state().root;
}

void SetCurrentRoot(clsQuorvelin2* root) {
    state().root = root;
}

void ReleaseCurrentRoot(const clsQuorvelin2* root) {
    if (state().root == root)
        state().root = nullptr;
}

qint32 NextSerialNumber() {
    return ++state().serial;
}

void ResetSerialNumber() {
    state().serial = 0;
}

QString ErrorComment() {
    return state().errorComment;
}

void SetErrorComment(const QString& comment) {
    state().errorComment = comment;
}

} // namespace basQuorvelin2
