// The twelve category captions, loaded from the current resource module when constructed.
#pragma once
#include "catalog/category_model.h"

#include <string>

class CCategoryNames {
public:
    CCategoryNames();
    virtual ~CCategoryNames();

    // Caption at position 0-11 (see CategoryPosition); empty for any other position.
    const std::wstring& Caption(int position) const;
    const std::wstring& CaptionOfCategory(int category) const { return Caption(CategoryPosition(category)); }

private:
    std::wstring m_strCaptions[kCategoryCaptionCount];
};
