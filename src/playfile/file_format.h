#pragma once
#include <string_view>

namespace tap::file_format {

// The namespace every element of a playback file belongs to, and the
// embedded schema the file is validated against.
inline constexpr std::u16string_view kNamespace = u"urn:Tarvena/Lantorix/StimulusResponseFile/1.0";
inline constexpr std::string_view kSchemaResourceType = "XMLSCHEMA";
inline constexpr unsigned kSchemaResourceId = 101;

// Pairs and DoCommand entries above this version load but never match.
inline constexpr double kEngineFileVersion = 1.5;

// Type words, compared exactly.
inline constexpr std::string_view kExactString = "exactString";
inline constexpr std::string_view kVBScript = "vbscript";
inline constexpr std::string_view kExactMatch = "exactMatch";

inline constexpr const char* kNotConforming = "Record/Playback File did not conform to the schema.";

}  // namespace tap::file_format
