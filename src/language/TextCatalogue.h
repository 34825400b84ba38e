// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// The program's indexed texts: exactly 6400 entries, built in English and overlaid by a language file.
//
// Language files are line-oriented ("STR<index> = <text>"); see Read_Language_File for the exact reading
// rules. The file's encoding is told by its byte-order mark (UTF-8, UTF-16 LE or BE); a file without one
// is read in the ANSI code page on Windows and as Windows-1252 elsewhere.
class TextCatalogue {
public:
    static constexpr int Size = 6400;

    // The language whose texts are built in, and the one a missing or unusable language falls back to.
    static inline const QString DefaultLanguage = QStringLiteral("English");

    TextCatalogue() = default; // empty until Build_Default_Texts or Load_Language

    // The entry at `index`; an empty text for an index outside 0..6399 or before the first build.
    const QString& Text(int index) const;
    int count() const { return int(m_texts.size()); }

    // Empties the catalogue, then appends the 6400 default English texts in index order.
    void Build_Default_Texts();

    // 6400 entries of a single blank: a base on which a language file shows exactly what it sets.
    void fillWithBlanks();

    // Lays the entries of one language file over the catalogue. Throws FileError, naming the file and
    // the reason, when the file cannot be read (a missing file, a folder, a FIFO or device, a file far
    // too large); the catalogue is then left as it was. A catalogue that was never built is first
    // filled with blanks, so every index of the file has an entry to replace.
    //
    // Per line: strip blanks and control characters; only lines beginning with "STR" count. The index is
    // the text from the 4th character up to the second-last character before the first "=" (the
    // character just before "=" is always dropped: "STR0012 = x" sets 12, "STR0012=x" sets 1), stripped,
    // read as decimal digits with leading zeros and an optional "+"; a "-" sign, other prefixes ("0x",
    // "$"), inner blanks and indices outside 0..6399 skip the line. The text after the first "=" is
    // stripped, cut before "/#/" (a comment) and stripped again; an empty text skips the line. A leading
    // "¶" is removed and the text ends before the next "¶". A later line for the same index wins.
    void Read_Language_File(const QString& path);

    // Build_Default_Texts, then the file `languageFolder`/`languageName`.lng. When nothing is there, or
    // `languageName` is no plain file name (it could lead out of the folder), `languageName` becomes
    // "English" and `languageFolder`/English.lng is read if present. A language file that is there but
    // cannot be read throws FileError after the default English texts are in place.
    void Load_Language(const QString& languageFolder, QString& languageName);

    // The catalogue as a language file: one "STR<index> = <text>" line for every entry that is not a
    // single blank, with pilcrows around texts that begin or end with a blank.
    //
    // The index has four digits with leading zeros ("STR0018 = Error! Project not Valid"), lines end
    // with CR LF. A text with a blank or control character at either end, and the empty text, is
    // written between two pilcrows ("STR0009 = ¶None Configuration Opened ¶", "STR2592 = ¶¶"), so
    // reading the result back gives every written entry unchanged. Texts holding "/#/", "¶" or a line
    // break cannot be expressed in a language file; no default text holds one.
    QString toLanguageFile() const;

private:
    void readLanguageBytes(const QByteArray& bytes);

    QStringList m_texts;
};

// The default English text of one index (a single blank where no window uses it, the empty text for
// 2592 and for an index outside 0..6399).
QString defaultText(int index);
