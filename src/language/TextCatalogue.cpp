// SPDX-License-Identifier: MIT
#include "TextCatalogue.h"

const QString& TextCatalogue::Text(int index) const {
    static const QString empty;
    if (index < 0 || index >= m_texts.size())
        return empty;
    return m_texts[index];
}

void TextCatalogue::Build_Default_Texts() {
    m_texts.clear();
    m_texts.reserve(Size);
    for (int i = 0; i < Size; ++i)
        m_texts.append(defaultText(i));
}
