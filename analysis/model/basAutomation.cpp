#include "basAutomation.h"

#include "ProjectError.h"

#include <QMetaMethod>
#include <QVarLengthArray>

#include <algorithm>
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

bool sameName(const QMetaMethod& m, const QByteArray& name) {
    return m.name().compare(name, Qt::CaseInsensitive) == 0;
}

bool isCallable(const QMetaMethod& m) {
    return m.methodType() == QMetaMethod::Method || m.methodType() == QMetaMethod::Slot;
}

// A callable method with what its parameters are, read from their type names once.
struct Method {
    QMetaMethod meta;
    std::vector<bool> reference; // an in/out parameter (a non-const reference)
    std::vector<QMetaType> types;
    QMetaType returnType;
    int index = 0;      // the method's index in its class
    int localIndex = 0; // the same counted from the class that declares it

    int parameterCount() const { return static_cast<int>(types.size()); }
    bool isReference(int j) const { return reference[static_cast<size_t>(j)]; }
    QMetaType type(int j) const { return types[static_cast<size_t>(j)]; }
};

Method describe(const QMetaMethod& m) {
    Method d;
    d.meta = m;
    d.returnType = m.returnMetaType();
    d.index = m.methodIndex();
    d.localIndex = d.index - m.enclosingMetaObject()->methodOffset();
    const QList<QByteArray> names = m.parameterTypes();
    for (int j = 0; j < m.parameterCount(); ++j) {
        const QByteArray& type = names.value(j);
        const bool reference = type.endsWith('&') && !type.startsWith("const ");
        d.reference.push_back(reference);
        // An in/out parameter's reference type has no meta type of its own.
        d.types.push_back(reference ? QMetaType::fromName(type.left(type.size() - 1))
                                    : m.parameterMetaType(j));
    }
    return d;
}

using Storage = QVarLengthArray<QVariant, MaxArguments>;

// Points argv[j + 1] at each parameter's value: at the caller's own argument when it has the
// parameter's type already and the method only reads it, else at a converted copy in storage
// (reference parameters always, for writing back). False when an argument does not convert.
bool prepareArguments(const Method& m, const QVariantList& arguments, Storage& storage, void** argv) {
    storage.clear();
    for (int j = 0; j < m.parameterCount(); ++j) {
        const QMetaType type = m.type(j);
        const bool given = j < arguments.size();
        const bool reference = m.isReference(j);
        const bool variant = type == QMetaType::fromType<QVariant>();
        if (given && !reference && (variant || arguments[j].metaType() == type)) {
            // A QVariant parameter receives the QVariant itself.
            argv[j + 1] =
                variant ? const_cast<QVariant*>(&arguments[j]) : const_cast<void*>(arguments[j].constData());
            continue;
        }
        // Within the inline capacity: the values already pointed at stay where they are.
        if (storage.size() <= j)
            storage.resize(j + 1);
        QVariant& s = storage[j];
        if (variant) {
            s = given ? arguments[j] : QVariant();
            argv[j + 1] = &s;
            continue;
        }
        QVariant a = given ? arguments[j] : QVariant();
        if (!a.isValid()) {
            a = QVariant(type);
        } else if (a.metaType() != type) {
            if (!QMetaType::canConvert(a.metaType(), type) || !a.convert(type))
                return false;
        }
        s = std::move(a);
        argv[j + 1] = s.data();
    }
    return true;
}

// Points argv at the arguments themselves when each has its parameter's type and none is written
// back: what prepareArguments would do for them, without its storage.
bool takesAsTheyAre(const Method& m, const QVariantList& arguments, void** argv) {
    if (m.parameterCount() != arguments.size() || arguments.size() > MaxArguments)
        return false;
    for (int j = 0; j < m.parameterCount(); ++j) {
        const QMetaType type = m.type(j);
        if (m.isReference(j))
            return false;
        if (type == QMetaType::fromType<QVariant>())
            argv[j + 1] = const_cast<QVariant*>(&arguments[j]);
        else if (arguments[j].metaType() == type)
            argv[j + 1] = const_cast<void*>(arguments[j].constData());
        else
            return false;
    }
    return true;
}

bool accepts(const Method& m, const QVariantList& arguments) {
    if (m.parameterCount() == arguments.size())
        return true;
    if (m.parameterCount() < arguments.size())
        return false;
    for (int j = static_cast<int>(arguments.size()); j < m.parameterCount(); ++j) {
        if (!m.isReference(j))
            return false;
    }
    return true;
}

QVariant invokeMethod(const ObjectRef& ref, const Method& m, void** argv) {
    QVariant result;
    if (m.returnType.isValid() && m.returnType.id() != QMetaType::Void) {
        result = QVariant(m.returnType);
        argv[0] = result.data();
    }
    if (ref.isQObject) {
        static_cast<QObject*>(ref.object)->qt_metacall(QMetaObject::InvokeMetaMethod, m.index, argv);
    } else {
        m.meta.enclosingMetaObject()->d.static_metacall(reinterpret_cast<QObject*>(ref.object),
                                                        QMetaObject::InvokeMetaMethod, m.localIndex, argv);
    }
    return result;
}

// The cache of methods by class and name as written; each spelling is looked up once.
struct NameKey {
    const QMetaObject* metaObject;
    QString name;
};
struct NameProbe {
    const QMetaObject* metaObject;
    QStringView name;
};
struct NameLess {
    using is_transparent = void;
    template <typename A, typename B> bool operator()(const A& a, const B& b) const {
        if (a.metaObject != b.metaObject)
            return std::less<const QMetaObject*>()(a.metaObject, b.metaObject);
        return QStringView(a.name).compare(QStringView(b.name)) < 0;
    }
};

// The callable methods of that name (any letter case), in method order. Looked up once per class
// and name: exports call the same few members thousands of times. The map's nodes stay where they
// are when others are added, so a reference outlives nested calls.
const std::vector<Method>& methodsNamed(const QMetaObject* mo, QStringView name) {
    thread_local std::map<NameKey, std::vector<Method>, NameLess> cache;
    auto it = cache.find(NameProbe{mo, name});
    if (it == cache.end()) {
        const QByteArray latin1 = name.toLatin1();
        std::vector<Method> methods;
        for (int i = 0; i < mo->methodCount(); ++i) {
            const QMetaMethod m = mo->method(i);
            if (isCallable(m) && sameName(m, latin1) && m.parameterCount() <= MaxArguments)
                methods.push_back(describe(m));
        }
        it = cache.emplace(NameKey{mo, name.toString()}, std::move(methods)).first;
    }
    return it->second;
}

// Invokes the first of the methods whose parameters take the arguments; writes the values of
// reference parameters back into writeBack when given.
std::optional<QVariant> tryInvoke(const ObjectRef& ref, const std::vector<Method>& methods,
                                  const QVariantList& arguments, QVariantList* writeBack) {
    if (arguments.size() > MaxArguments)
        return std::nullopt;
    Storage storage;
    // Exact parameter counts first, then methods whose trailing in/out parameters are left out.
    for (int pass = 0; pass < 2; ++pass) {
        for (const Method& m : methods) {
            if (pass == 0 ? m.parameterCount() != arguments.size() : !accepts(m, arguments))
                continue;
            void* argv[MaxArguments + 1] = {};
            if (!prepareArguments(m, arguments, storage, argv))
                continue;
            QVariant result = invokeMethod(ref, m, argv);
            if (writeBack) {
                for (int j = 0; j < m.parameterCount(); ++j) {
                    if (!m.isReference(j))
                        continue;
                    if (j < writeBack->size())
                        (*writeBack)[j] = storage[j];
                    else
                        writeBack->append(storage[j]);
                }
            }
            return result;
        }
    }
    return std::nullopt;
}

// Invokes the first method of that name whose parameters take the arguments. found tells
// whether any method of that name exists.
std::optional<QVariant> tryInvoke(const ObjectRef& ref, QStringView name, QVariantList& arguments,
                                  bool writeBack, bool& found) {
    const std::vector<Method>& methods = methodsNamed(ref.metaObject, name);
    found = !methods.empty();
    return tryInvoke(ref, methods, arguments, writeBack ? &arguments : nullptr);
}

QVariant invokeOrRaise(const ObjectRef& ref, const std::vector<Method>& methods, QStringView name,
                       const QVariantList& arguments, QVariantList* writeBack) {
    if (auto result = tryInvoke(ref, methods, arguments, writeBack))
        return *result;
    if (!methods.empty())
        throw ProjectError(ProjectError::TypeMismatch,
                           u"Type mismatch in the arguments of "_s + name.toString());
    raiseNoMember(ref.metaObject, name);
}

QVariant invokeOrRaise(const QVariant& object, QStringView name, QVariantList& arguments, bool writeBack) {
    const ObjectRef ref = resolve(object);
    return invokeOrRaise(ref, methodsNamed(ref.metaObject, name), name, arguments,
                         writeBack ? &arguments : nullptr);
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
    // Only a registered shared pointer converts: a built-in value never holds an object.
    if (type.id() < QMetaType::User)
        return std::nullopt;
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
    const ObjectRef ref = resolve(object);
    return invokeOrRaise(ref, methodsNamed(ref.metaObject, name), name, arguments, nullptr);
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
    if (tryInvoke(ref, QString(u"set"_s + name.toString()), arguments, false, found))
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

QVariant Member::Get(const QVariant& object, const QVariantList& arguments) const {
    return Get(resolve(object), arguments);
}

QVariant Member::Get(const ObjectRef& object, const QVariantList& arguments) const {
    if (object.object == nullptr)
        raiseNothing();
    if (object.metaObject != m_metaObject || m_methods == nullptr) {
        m_methods = &methodsNamed(object.metaObject, m_name);
        m_metaObject = object.metaObject;
        m_arity = -1;
    }
    const auto& methods = *static_cast<const std::vector<Method>*>(m_methods);
    if (m_arity != arguments.size()) {
        m_arity = arguments.size();
        const auto first = std::find_if(methods.begin(), methods.end(),
                                        [&](const Method& m) { return m.parameterCount() == m_arity; });
        m_first = first == methods.end() ? nullptr : &*first;
    }
    if (m_first) {
        void* argv[MaxArguments + 1];
        argv[0] = nullptr;
        if (const auto* m = static_cast<const Method*>(m_first); takesAsTheyAre(*m, arguments, argv))
            return invokeMethod(object, *m, argv);
    }
    return invokeOrRaise(object, methods, m_name, arguments, nullptr);
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
