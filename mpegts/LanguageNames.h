#pragma once
// The names of the languages that an audio stream's ISO 639 language descriptor names by its
// three-letter ISO 639-2 code ("ger", "deu", "fre", ...): German for the TV windows, English
// for the client library's stream records. The tables in LanguageNames.cpp are written by
// tools/iso639/make_tables.py.
#include <string_view>

namespace mpegts::LanguageNames {

/// The German name of the language ("ger" -> "Deutsch"), UTF-8; empty when the code is not
/// listed. Upper-case codes are found as well.
std::string_view German(std::string_view code);

/// The English name of the language ("ger" -> "German"); empty when the code is not listed.
std::string_view English(std::string_view code);

}  // namespace mpegts::LanguageNames
