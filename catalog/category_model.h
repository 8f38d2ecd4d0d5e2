// Categories: numbers 0-10 are named, every other number is "Others".
#pragma once

constexpr int kNamedCategoryCount = 11;
constexpr int kCategoryCaptionCount = 12;  // the named ones plus "Others", in this order
constexpr int kOthersPosition = 11;

// Position 0-11 of the caption under which an entry of `category` is listed.
inline int CategoryPosition(int category)
{
    return category >= 0 && category < kNamedCategoryCount ? category : kOthersPosition;
}
