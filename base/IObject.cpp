#include "base/IObject.h"

#include <functional>

namespace s::base {

int IComparable::compareTo(const IComparable* other, const IComparator* comparator) const
{
    if (comparator)
        return comparator->compare(this, other);
    if (this == other)
        return 0;
    // std::less gives a total order on pointers even across unrelated objects.
    return std::less<const IComparable*>()(this, other) ? -1 : 1;
}

int IComparable::compareTo2(const IComparable* other, const IComparator* comparator) const
{
    if (comparator)
        return comparator->compare2(this, other);
    return compareTo(other, nullptr);
}

bool IComparable::equals(const IComparable* other, const IComparator* comparator) const
{
    return compareTo(other, comparator) == 0;
}

bool IComparable::equals2(const IComparable* other, const IComparator* comparator) const
{
    return compareTo2(other, comparator) == 0;
}

const std::type_info& IComparable::typeId() const
{
    return typeid(*this);
}

const std::type_info& IComparable::typeId2() const
{
    return typeId();
}

}  // namespace s::base
