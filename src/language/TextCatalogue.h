// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// The program's indexed texts: exactly 6400 entries, built in English and overlaid by a language file.
class TextCatalogue {
public:
    static constexpr int Size = 6400;

    TextCatalogue() = default; // empty until Build_Default_Texts or Load_Language

    // The entry at `index`; an empty text for an index outside 0..6399 or before the first build.
    const QString& Text(int index) const;
    int count() const { return int(m_texts.size()); }

    // Empties the catalogue, then appends the 6400 default English texts in index order.
    void Build_Default_Texts();

    // Lays the entries of one language file over the catalogue. Returns false when the file cannot be
    // read (the catalogue is left as it was).
    bool Read_Language_File(const QString& path);

    // Build_Default_Texts, then the file `languageFolder`/`languageName`.lng; when that file is missing
    // `languageName` becomes "English" and `languageFolder`/English.lng is read if present.
    void Load_Language(const QString& languageFolder, QString& languageName);

    // The catalogue as a language file: one "STR<index> = <text>" line for every entry that is not a
    // single blank, with pilcrows around texts that begin or end with a blank.
    QString toLanguageFile() const;

private:
    QStringList m_texts;
};

// The default English text of one index (a single blank where no window uses it).
QString defaultText(int index);
