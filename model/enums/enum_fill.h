#pragma once
// Filling an enumeration from a table of items: each text (and each
// description with a key) is translated once, when the enumeration is filled.
#include "framework/core/translation.h"

#include <cstring>

struct EnumItemDef {
    long code;
    const char* identifier;
    const char* key;
    const char* text;
    const char* descKey = nullptr; // null: no description
    const char* desc = nullptr;
};

// In the place of a description key: the description is the item's text.
inline constexpr const char* kDescAsText = "=text";

inline constexpr CxTr TranslateItemText;

template <class E, size_t N> void AddItems(E& enumeration, const EnumItemDef (&items)[N]) {
    for (const EnumItemDef& def : items) {
        const QString text = TranslateItemText(def.text, def.key);
        QString desc;
        if (def.descKey && std::strcmp(def.descKey, kDescAsText) == 0)
            desc = text;
        else if (def.descKey)
            desc = TranslateItemText(def.desc, def.descKey);
        enumeration.Add(def.code, QString::fromLatin1(def.identifier), text, desc);
    }
}
