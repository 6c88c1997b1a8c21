// The root of the toolkit's object classes, weak references, and the checked
// cast that every accessor uses.
#pragma once

#include <memory>
#include <string>
#include <typeinfo>

#include "toolkit/core/proplist.h"
#include "toolkit/errors.h"

namespace tk {

// A readable name for a C++ type, for messages.
std::string TypeName(const std::type_info& type);

class Object {
  public:
    Object();
    virtual ~Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    // Sets one property from a layout list. The default knows no property.
    virtual void SetProperty(const plist::Entry& entry);

    // The class name used in messages.
    virtual std::string ClassName() const;

  private:
    friend class WeakRefBase;
    std::shared_ptr<Object*> anchor_;  // lets weak references see the object go
};

class WeakRefBase {
  protected:
    explicit WeakRefBase(Object* target);
    Object* Target() const;

  private:
    std::weak_ptr<Object*> anchor_;
};

// A reference that does not keep its target alive; Value() is null once the
// target is gone.
template <class T>
class WeakRef : private WeakRefBase {
  public:
    explicit WeakRef(T* target) : WeakRefBase(target) {}
    T* Value() const { return static_cast<T*>(Target()); }
};

// Casts `object` to T: a null object raises NilObjectException, an object of
// another class IllegalCastException.
template <class T, class U>
T& Cast(U* object) {
    if (object == nullptr) {
        throw NilObjectException("nil object where a " + TypeName(typeid(T)) + " was expected");
    }
    T* cast = dynamic_cast<T*>(object);
    if (cast == nullptr) {
        throw IllegalCastException("an object of class " + object->ClassName() +
                                   " cannot be used as " + TypeName(typeid(T)));
    }
    return *cast;
}

}  // namespace tk
