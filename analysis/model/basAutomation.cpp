#include "basAutomation.h"

#include "ProjectError.h"

#include <QMetaMethod>

#include <map>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace basAutomation {

namespace {

constexpr int MaxArguments = 20;

[[noreturn]] void raiseNoMember(const QMetaObject* mo, QStringView name) {
    throw ProjectError(ProjectError::InvalidCall, u"Object doesn't support this property or method: "_s +
                                                      QString::fromLatin1(mo->className()) + u'.' +
                                                      name.toString());
}

[[noreturn]] void raiseNothing() {
    throw ProjectError(ProjectError::InvalidCall, u"Object variable not set"_s);
}

// What a method's parameters are, read from its type names once per method.
struct Signature {
    std::vector<bool> reference; // an in/out parameter (a non-const reference)
    std::vector<QMetaType> types;
};

const Signature& signatureOf(const QMetaMethod& m) {
    thread_local std::map<std::pair<const QMetaObject*, int>, Signature> cache;
    const std::pair<const QMetaObject*, int> key{m.enclosingMetaObject(), m.methodIndex()};
    auto it = cache.find(key);
    if (it == cache.end()) {
        Signature s;
        const QList<QByteArray> names = m.parameterTypes();
        for (int j = 0; j < m.parameterCount(); ++j) {
            const QByteArray& type = names.value(j);
            const bool reference = type.endsWith('&') && !type.startsWith("const ");
            s.reference.push_back(reference);
            // An in/out parameter's reference type has no meta type of its own.
            s.types.push_back(reference ? QMetaType::fromName(type.left(type.size() - 1))
                                        : m.parameterMetaType(j));
        }
        it = cache.emplace(key, std::move(s)).first;
    }
    return it->second;
}

bool isReferenceParameter(const QMetaMethod& m, int index) {
    const Signature& s = signatureOf(m);
    return index >= 0 && static_cast<size_t>(index) < s.reference.size() &&
           s.reference[static_cast<size_t>(index)];
}

QMetaType parameterType(const QMetaMethod& m, int index) {
    const Signature& s = signatureOf(m);
    return index >= 0 && static_cast<size_t>(index) < s.types.size() ? s.types[static_cast<size_t>(index)]
                                                                     : QMetaType();
}

bool sameName(const QMetaMethod& m, const QByteArray& name) {
    return m.name().compare(name, Qt::CaseInsensitive) == 0;
}

bool isCallable(const QMetaMethod& m) {
    return m.methodType() == QMetaMethod::Method || m.methodType() == QMetaMethod::Slot;
}

// The arguments converted to a method's parameters, or nothing when one does not convert.
std::optional<std::vector<QVariant>> convertArguments(const QMetaMethod& m, const QVariantList& arguments) {
    std::vector<QVariant> storage;
    storage.reserve(static_cast<size_t>(m.parameterCount()));
    for (int j = 0; j < m.parameterCount(); ++j) {
        const QMetaType type = parameterType(m, j);
        if (type == QMetaType::fromType<QVariant>()) {
            storage.emplace_back(QVariant::fromValue(j < arguments.size() ? arguments[j] : QVariant()));
            continue;
        }
        QVariant a = j < arguments.size() ? arguments[j] : QVariant();
        if (!a.isValid()) {
            a = QVariant(type);
        } else if (a.metaType() != type) {
            if (!QMetaType::canConvert(a.metaType(), type) || !a.convert(type))
                return std::nullopt;
        }
        storage.push_back(std::move(a));
    }
    return storage;
}

bool accepts(const QMetaMethod& m, const QVariantList& arguments) {
    if (m.parameterCount() == arguments.size())
        return true;
    if (m.parameterCount() < arguments.size())
        return false;
    for (int j = static_cast<int>(arguments.size()); j < m.parameterCount(); ++j) {
        if (!isReferenceParameter(m, j))
            return false;
    }
    return true;
}

QVariant invokeMethod(const ObjectRef& ref, const QMetaMethod& m, std::vector<QVariant>& storage) {
    void* argv[MaxArguments + 1] = {};
    QVariant result;
    const QMetaType returnType = m.returnMetaType();
    if (returnType.isValid() && returnType.id() != QMetaType::Void) {
        result = QVariant(returnType);
        argv[0] = result.data();
    }
    for (size_t j = 0; j < storage.size(); ++j) {
        QVariant& s = storage[j];
        // A QVariant parameter receives the QVariant itself.
        argv[j + 1] = parameterType(m, static_cast<int>(j)) == QMetaType::fromType<QVariant>()
                          ? static_cast<void*>(&s)
                          : s.data();
    }
    if (ref.isQObject) {
        static_cast<QObject*>(ref.object)->qt_metacall(QMetaObject::InvokeMetaMethod, m.methodIndex(), argv);
    } else {
        const QMetaObject* mo = m.enclosingMetaObject();
        mo->d.static_metacall(reinterpret_cast<QObject*>(ref.object), QMetaObject::InvokeMetaMethod,
                              m.methodIndex() - mo->methodOffset(), argv);
    }
    return result;
}

// The callable methods of that name (any letter case), in method order. Looked up once per class
// and name: exports call the same few members thousands of times. The map's nodes stay where they
// are when others are added, so a reference outlives nested calls.
const std::vector<int>& methodsNamed(const QMetaObject* mo, const QByteArray& name) {
    thread_local std::map<std::pair<const QMetaObject*, QByteArray>, std::vector<int>> cache;
    std::pair<const QMetaObject*, QByteArray> key{mo, name.toLower()};
    auto it = cache.find(key);
    if (it == cache.end()) {
        std::vector<int> methods;
        for (int i = 0; i < mo->methodCount(); ++i) {
            const QMetaMethod m = mo->method(i);
            if (isCallable(m) && sameName(m, name))
                methods.push_back(i);
        }
        it = cache.emplace(std::move(key), std::move(methods)).first;
    }
    return it->second;
}

// Invokes the first method of that name whose parameters take the arguments. found tells
// whether any method of that name exists.
std::optional<QVariant> tryInvoke(const ObjectRef& ref, const QByteArray& name, QVariantList& arguments,
                                  bool writeBack, bool& found) {
    const QMetaObject* mo = ref.metaObject;
    const std::vector<int>& methods = methodsNamed(mo, name);
    found = !methods.empty();
    if (arguments.size() > MaxArguments)
        return std::nullopt;
    // Exact parameter counts first, then methods whose trailing in/out parameters are left out.
    for (int pass = 0; pass < 2; ++pass) {
        for (const int i : methods) {
            const QMetaMethod m = mo->method(i);
            if (pass == 0 ? m.parameterCount() != arguments.size() : !accepts(m, arguments))
                continue;
            auto storage = convertArguments(m, arguments);
            if (!storage)
                continue;
            QVariant result = invokeMethod(ref, m, *storage);
            if (writeBack) {
                for (int j = 0; j < m.parameterCount(); ++j) {
                    if (!isReferenceParameter(m, j))
                        continue;
                    if (j < arguments.size())
                        arguments[j] = (*storage)[static_cast<size_t>(j)];
                    else
                        arguments.append((*storage)[static_cast<size_t>(j)]);
                }
            }
            return result;
        }
    }
    return std::nullopt;
}

QVariant invokeOrRaise(const QVariant& object, QStringView name, QVariantList& arguments, bool writeBack) {
    const ObjectRef ref = resolve(object);
    bool found = false;
    if (auto result = tryInvoke(ref, name.toLatin1(), arguments, writeBack, found))
        return *result;
    if (found)
        throw ProjectError(ProjectError::TypeMismatch,
                           u"Type mismatch in the arguments of "_s + name.toString());
    raiseNoMember(ref.metaObject, name);
}

std::optional<ObjectRef> resolveOptional(const QVariant& value) {
    const QMetaType type = value.metaType();
    if (!type.isValid())
        return std::nullopt;
    ObjectRef ref;
    if (type.flags() & QMetaType::PointerToQObject) {
        QObject* o = *static_cast<QObject* const*>(value.constData());
        ref.object = o;
        ref.metaObject = o ? o->metaObject() : type.metaObject();
        ref.isQObject = true;
        return ref;
    }
    if (type.flags() & QMetaType::PointerToGadget) {
        ref.object = *static_cast<void* const*>(value.constData());
        ref.metaObject = type.metaObject();
        return ref;
    }
    if (type.flags() & QMetaType::IsGadget) {
        ref.object = const_cast<void*>(value.constData());
        ref.metaObject = type.metaObject();
        return ref;
    }
    const QMetaType refType = QMetaType::fromType<ObjectRef>();
    if (QMetaType::canConvert(type, refType) && QMetaType::convert(type, value.constData(), refType, &ref))
        return ref;
    return std::nullopt;
}

} // namespace

ObjectRef resolve(const QVariant& object) {
    const auto ref = resolveOptional(object);
    if (!ref)
        throw ProjectError(ProjectError::TypeMismatch, u"Object required"_s);
    if (ref->object == nullptr)
        raiseNothing();
    return *ref;
}

bool isObject(const QVariant& value) {
    return resolveOptional(value).has_value();
}

bool isNothing(const QVariant& value) {
    const auto ref = resolveOptional(value);
    return ref && ref->object == nullptr;
}

QVariant Get(const QVariant& object, QStringView name, const QVariantList& arguments) {
    QVariantList copy = arguments;
    return invokeOrRaise(object, name, copy, false);
}

QVariant Call(const QVariant& object, QStringView name, const QVariantList& arguments) {
    return Get(object, name, arguments);
}

QVariant CallByRef(const QVariant& object, QStringView name, QVariantList& arguments) {
    return invokeOrRaise(object, name, arguments, true);
}

void Let(const QVariant& object, QStringView name, const QVariant& value, const QVariantList& indexes) {
    const ObjectRef ref = resolve(object);
    QVariantList arguments = indexes;
    arguments.append(value);
    bool found = false;
    if (tryInvoke(ref, QByteArray("set") + name.toLatin1(), arguments, false, found))
        return;
    // No write side takes the value: it goes to the default member of the property's object.
    const QVariant target = Get(object, name, indexes);
    if (!isObject(target)) {
        if (found)
            throw ProjectError(ProjectError::TypeMismatch,
                               u"Type mismatch in the assignment of "_s + name.toString());
        raiseNoMember(ref.metaObject, name);
    }
    Let(target, u"Value", value);
}

QVariant DefaultValue(const QVariant& value) {
    if (!isObject(value))
        return value;
    return Get(value, u"Value");
}

QStringList MemberNames(const QMetaObject& metaObject) {
    QStringList names;
    QSet<QByteArray> all;
    for (int i = metaObject.methodOffset(); i < metaObject.methodCount(); ++i)
        all.insert(metaObject.method(i).name());
    for (int i = metaObject.methodOffset(); i < metaObject.methodCount(); ++i) {
        const QMetaMethod m = metaObject.method(i);
        if (!isCallable(m) || (m.attributes() & QMetaMethod::Cloned))
            continue;
        QByteArray name = m.name();
        if (name.size() > 3 && name.startsWith("set") && QChar::isUpper(name.at(3)) &&
            all.contains(name.mid(3)))
            name = name.mid(3);
        const QString text = QString::fromLatin1(name);
        if (names.isEmpty() || names.constLast() != text)
            names.append(text);
    }
    return names;
}

} // namespace basAutomation
