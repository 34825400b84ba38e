// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string_view>

// One default English text of the catalogue.
struct DefaultTextEntry {
    int index;
    std::u16string_view text;
};

// The indices that have a default English text other than a single blank, in ascending order.
std::span<const DefaultTextEntry> defaultTextTable();
