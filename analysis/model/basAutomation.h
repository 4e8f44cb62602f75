#pragma once

// Late binding: reaching the members of the library's objects by name at run time, as an
// automation host does. Objects travel in QVariants: a QObject pointer, a pointer to a gadget,
// a gadget value, or a std::shared_ptr to a class registered with registerShared.
//
// Member names compare without regard to letter case. A property's write side is the method
// "set" + name; the value (or object) is passed after the indexes.

#include "Quorvelin2Global.h"

#include <QByteArray>
#include <QMetaObject>
#include <QMetaType>
#include <QStringList>
#include <QStringView>
#include <QVariant>

#include <memory>
#include <type_traits>
#include <utility>

namespace basAutomation {

// An object as the invocation sees it.
struct ObjectRef {
    void* object = nullptr;                  // the gadget or the QObject
    const QMetaObject* metaObject = nullptr; // its meta-object
    bool isQObject = false;
};

// Makes a std::shared_ptr<T> in a QVariant reachable by name. Call once per class (the
// library's classes do it when the library loads).
template <typename T> bool registerShared() {
    using Ptr = std::shared_ptr<T>;
    if (QMetaType::hasRegisteredConverterFunction<Ptr, ObjectRef>())
        return true;
    return QMetaType::registerConverter<Ptr, ObjectRef>([](const Ptr& p) {
        ObjectRef ref;
        if constexpr (std::is_base_of_v<QObject, T>) {
            ref.object = static_cast<QObject*>(p.get());
            ref.metaObject = p ? p->metaObject() : &T::staticMetaObject;
            ref.isQObject = true;
        } else {
            ref.object = p.get();
            ref.metaObject = &T::staticMetaObject;
        }
        return ref;
    });
}

// The object a variant holds; raises TypeMismatch when it holds none and InvalidCall when it
// holds an empty reference.
QV_EXPORT ObjectRef resolve(const QVariant& object);
// True when the variant holds an object (possibly an empty reference).
QV_EXPORT bool isObject(const QVariant& value);
// True when the variant holds an empty object reference (nothing).
QV_EXPORT bool isNothing(const QVariant& value);

// Property read or method call with arguments (indexes). Arguments convert to the parameter
// types; reference parameters the caller leaves out are given their empty value.
QV_EXPORT QVariant Get(const QVariant& object, QStringView name, const QVariantList& arguments = {});
// A method call; the same as Get.
QV_EXPORT QVariant Call(const QVariant& object, QStringView name, const QVariantList& arguments = {});
// A method call that writes the values of reference (in/out) parameters back into arguments,
// appending those the caller left out.
QV_EXPORT QVariant CallByRef(const QVariant& object, QStringView name, QVariantList& arguments);
// Property assignment. When the property has no write side that takes the value, the value goes
// to the default member (Value) of the object the property returns, as Lap(j) = t does.
QV_EXPORT void Let(const QVariant& object, QStringView name, const QVariant& value,
                   const QVariantList& indexes = {});
// The default member: the Value of an object, or the value itself when it is no object.
QV_EXPORT QVariant DefaultValue(const QVariant& value);

// A member bound by name once and read on many objects, as an export does for every runner and
// leg: the methods of that name are looked up again only when the object's class changes. The
// rules and errors are Get's. A binding belongs to the thread that made it.
class QV_EXPORT Member {
public:
    explicit Member(QString name) : m_name(std::move(name)) {}
    QVariant Get(const QVariant& object, const QVariantList& arguments = {}) const;
    // The same on an object already resolved (resolve), for several members of one object.
    QVariant Get(const ObjectRef& object, const QVariantList& arguments = {}) const;

private:
    QString m_name;
    mutable const QMetaObject* m_metaObject = nullptr;
    mutable const void* m_methods = nullptr; // the methods of that name in m_metaObject
    // The first of those methods taking m_arity arguments: the one Get picks whenever the
    // arguments already have its parameter types, so such calls skip the search.
    mutable const void* m_first = nullptr;
    mutable qsizetype m_arity = -1;
};

// The automation members of a class in slot order: every invokable method once, a property's
// write side "setX" folded into X, overloads made for default arguments counted once.
QV_EXPORT QStringList MemberNames(const QMetaObject& metaObject);

} // namespace basAutomation

Q_DECLARE_METATYPE(basAutomation::ObjectRef)
