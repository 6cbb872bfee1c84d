#include "support/ColladaCheck.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>
#include <vector>

#include "support/RunCommand.h"
#include "support/TempDir.h"

namespace {

const std::filesystem::path kColladaSchemaPath = "/usr/lib/opencollada/collada_schema_1_4_1.xsd";

// The schema imports the W3C schema of the xml: attributes from the web; this local stand-in
// declares what it uses, so validation runs with --nonet.
constexpr std::string_view kXmlNamespaceSchema = R"(<?xml version="1.0" encoding="utf-8"?>
<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" targetNamespace="http://www.w3.org/XML/1998/namespace" xml:lang="en">
  <xs:attribute name="lang" type="xs:language"/>
  <xs:attribute name="space">
    <xs:simpleType>
      <xs:restriction base="xs:NCName">
        <xs:enumeration value="default"/>
        <xs:enumeration value="preserve"/>
      </xs:restriction>
    </xs:simpleType>
  </xs:attribute>
  <xs:attribute name="base" type="xs:anyURI"/>
  <xs:attribute name="id" type="xs:ID"/>
  <xs:attributeGroup name="specialAttrs">
    <xs:attribute ref="xml:base"/>
    <xs:attribute ref="xml:lang"/>
    <xs:attribute ref="xml:space"/>
    <xs:attribute ref="xml:id"/>
  </xs:attributeGroup>
</xs:schema>
)";

bool IsStampLine(std::string_view line)
{
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos) return false;
    line.remove_prefix(start);
    return line.rfind("<created>", 0) == 0 || line.rfind("<modified>", 0) == 0;
}

bool ParseDecimal(std::string_view token, double& value)
{
    if (token.find('.') == std::string_view::npos) return false;
    auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    return ec == std::errc() && end == token.data() + token.size();
}

// Equal lines, or lines whose blank-separated words agree, decimal numbers within tolerance.
bool LinesAgree(std::string_view actual, std::string_view expected, double tolerance)
{
    if (actual == expected) return true;
    const std::vector<std::string> a = SplitText(actual, " "), e = SplitText(expected, " ");
    if (a.size() != e.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == e[i]) continue;
        double x, y;
        if (!ParseDecimal(a[i], x) || !ParseDecimal(e[i], y)) return false;
        if (std::fabs(x - y) > std::max(tolerance, std::fabs(y) * 1e-15)) return false;
    }
    return true;
}

}  // namespace

std::optional<std::string> CheckColladaSchema(const std::filesystem::path& document)
{
    std::error_code error;
    if (!ProgramExists("xmllint") || !std::filesystem::exists(kColladaSchemaPath, error)) return std::nullopt;
    TTempDir work;
    const std::filesystem::path xmlSchema = work / "xml.xsd";
    const std::filesystem::path catalog = work / "catalog.xml";
    WriteFileBytes(xmlSchema, kXmlNamespaceSchema);
    const std::string local = "file://" + xmlSchema.string();
    std::string entries;
    for (const char* remote : {"http://www.w3.org/2001/03/xml.xsd", "http://www.w3.org/2001/xml.xsd"}) {
        entries += std::string("  <uri name=\"") + remote + "\" uri=\"" + local + "\"/>\n";
        entries += std::string("  <system systemId=\"") + remote + "\" uri=\"" + local + "\"/>\n";
    }
    WriteFileBytes(catalog, "<?xml version=\"1.0\"?>\n"
                            "<catalog xmlns=\"urn:oasis:names:tc:entity:xmlns:xml:catalog\">\n" +
                                entries + "</catalog>\n");
    const TCommandResult run = RunCommand("XML_CATALOG_FILES=" + ShellQuote(catalog.string()) +
                                          " xmllint --nonet --noout --schema " +
                                          ShellQuote(kColladaSchemaPath.string()) + " " +
                                          ShellQuote(document.string()));
    if (run.ExitCode == 0) return std::string();
    return "xmllint (exit " + std::to_string(run.ExitCode) + "): " + run.Output.substr(0, 4000);
}

std::optional<std::string> CheckAssimpImport(const std::filesystem::path& document)
{
    if (!ProgramExists("assimp")) return std::nullopt;
    const std::string quoted = ShellQuote(document.string());
    const TCommandResult raw = RunCommand("assimp info " + quoted + " -r");
    if (raw.ExitCode != 0 || raw.Output.find("ERROR") != std::string::npos)
        return "assimp info -r (exit " + std::to_string(raw.ExitCode) + "): " + raw.Output.substr(0, 4000);
    const TCommandResult logged = RunCommand("assimp info " + quoted + " --show-log");
    std::string problems;
    std::istringstream lines(logged.Output);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("Entering post processing pipeline") != std::string::npos) break;
        if (line.rfind("Warn,", 0) == 0 || line.rfind("Error,", 0) == 0) problems += line + "\n";
    }
    if (!problems.empty()) return "assimp import log:\n" + problems;
    return std::string();
}

std::optional<std::string> CheckColladaDocument(const std::filesystem::path& document)
{
    const std::optional<std::string> schema = CheckColladaSchema(document);
    const std::optional<std::string> assimp = CheckAssimpImport(document);
    if (!schema && !assimp) return std::nullopt;
    return schema.value_or("") + assimp.value_or("");
}

std::string CompareColladaDocuments(std::string_view actual, std::string_view expected, double tolerance)
{
    const std::vector<std::string> a = SplitText(actual, "\r\n"), e = SplitText(expected, "\r\n");
    std::string report;
    int shown = 0;
    for (std::size_t i = 0; i < std::max(a.size(), e.size()) && shown < 5; ++i) {
        const std::string_view x = i < a.size() ? std::string_view(a[i]) : "<missing>";
        const std::string_view y = i < e.size() ? std::string_view(e[i]) : "<missing>";
        if (IsStampLine(x) && IsStampLine(y)) continue;
        if (LinesAgree(x, y, tolerance)) continue;
        report += "line " + std::to_string(i + 1) + ":\n  actual:   " + std::string(x.substr(0, 200)) +
                  "\n  expected: " + std::string(y.substr(0, 200)) + "\n";
        ++shown;
    }
    if (a.size() != e.size())
        report += "line counts: actual " + std::to_string(a.size()) + ", expected " + std::to_string(e.size()) + "\n";
    return report;
}
