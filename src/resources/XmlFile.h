// Reading the game's XML files from the file system, and the byte-wise widening their
// attribute texts get.
#pragma once

#include "io/FileSystem.h"
#include "xml/XmlDocument.h"

#include <string>
#include <string_view>

// Reads folder/name whole into text and ends it with a 0 byte. False when the file is missing;
// a short read leaves zeros behind the bytes read.
bool ReadTextFile(IO::DirectoryNode* folder, std::u16string_view name, std::string& text);

// Reads folder/name whole, ends it with a 0 byte and parses it into document. False when the
// file is missing or does not parse; the document then holds no elements.
bool ReadXmlFile(IO::DirectoryNode* folder, std::u16string_view name, XmlDocument& document);

// Widens narrow text byte by byte: each byte becomes the UTF-16 unit of the same value (the
// Latin-1 mapping). Null gives an empty string.
std::u16string WidenBytes(const char* text);
