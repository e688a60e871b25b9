// The text of an INI settings file, in the layout QSettings reads and writes.
#pragma once

#include <map>
#include <string>
#include <string_view>

// Keys by name within sections by name; names and values are byte strings.
using IniSections = std::map<std::string, std::map<std::string, std::string>>;

// Reads "[Section]" headers and "key=value" lines as QSettings does, so that settings
// files written by earlier versions read back unchanged: values may be quoted and hold
// escapes (\n, \", \\, \x41, \101); an unquoted value with commas (a list to QSettings)
// reads as one string, its parts joined by ","; a value "@@text" reads as "@text"; ";"
// starts a comment; "%20" in a name is a space. Bytes that are not valid UTF-8 are kept.
// Anything else (lines without "=", binary garbage) is skipped; a later key of the same
// name replaces an earlier one.
IniSections ParseIniText(std::string_view text);

// Writes the sections as QSettings does: "[Section]" and one "key=value" line per key, a
// blank line between sections, every line ended by "\n"; values are quoted and escaped
// where needed, so that ParseIniText gives back every name and value byte for byte.
// Sections without keys are left out.
std::string FormatIniText(const IniSections& sections);
