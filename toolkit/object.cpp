#include "toolkit/object.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>

namespace tk {

std::string TypeName(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(type.name());
}

Object::Object() : anchor_(std::make_shared<Object*>(this)) {}

Object::~Object() = default;

void Object::SetProperty(const plist::Entry& entry) {
    throw PropertyException(ClassName() + " has no property '" + entry.name + "'");
}

std::string Object::ClassName() const {
    return TypeName(typeid(*this));
}

WeakRefBase::WeakRefBase(Object* target)
    : anchor_(target != nullptr ? std::weak_ptr<Object*>(target->anchor_)
                                : std::weak_ptr<Object*>()) {}

Object* WeakRefBase::Target() const {
    const auto anchor = anchor_.lock();
    return anchor ? *anchor : nullptr;
}

}  // namespace tk
