#pragma once
// Names and texts from a drawing made safe for a DXF file: table names without the
// characters DXF forbids in them, unique where a table needs it; texts whose control bytes
// cannot end a line of the file.
#include <string>
#include <string_view>
#include <unordered_set>

// The characters DXF forbids in a table name (and control bytes) replaced by '_', a leading
// '*' too (it marks anonymous blocks); at most 255 bytes, cut at a character's start.
std::string SafeTableName(std::string_view name);

// A layer's name: its group's and its own position ("0-A"), then the group's and the layer's
// names where they have one.
std::string DxfLayerName(int number, std::string_view groupName, std::string_view name);

// A text value: control bytes written as the caret codes DXF readers decode (^J for a new
// line), a caret itself as "^ ".
std::string SafeText(std::string_view text);

// Names made unique within one table, compared without regard to ASCII case, as CAD programs
// compare them: a name taken again gets "~2", "~3", ...
class TUniqueNames {
public:
    std::string Take(const std::string& name);

private:
    std::unordered_set<std::string> taken_;
};
