// A service object that tests can replace: the default one (made on first use) unless a
// replacement is set.
#pragma once

#include <utility>

namespace platform {

template <class Service, class Default>
class Replaceable {
public:
    Service& Current()
    {
        if (replaced_)
            return *replaced_;
        static Default standard;
        return standard;
    }
    // Null returns to the default; gives the previous replacement back.
    Service* Set(Service* service) { return std::exchange(replaced_, service); }

private:
    Service* replaced_ = nullptr;
};

}  // namespace platform
