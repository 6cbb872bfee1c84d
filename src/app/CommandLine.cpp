#include "app/CommandLine.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "engine/OptionWords.h"

namespace {

// More threads than this only cost memory: every one holds a whole file's conversion.
constexpr int32_t kMaxJobs = 256;

class TParser {
public:
    explicit TParser(TCommandLine& result) : r_(result) {}

    // Applies one option with its value; false (and Error set) when it is not valid.
    bool Option(std::string_view name, const std::optional<std::string>& value)
    {
        if (name.starts_with("--") && IsOptionWord(name.substr(2))) {
            // --heights takes its value only joined (--heights=mm); alone it reads metres.
            const std::string error = ReadOptionWord(name.substr(2), value.value_or("m"), r_.Changes);
            return error.empty() || Fail(error);
        }
        if (name == "--out") {
            if (value->empty()) return Fail("--out needs a folder");
            r_.Destination = TDestination{TDestination::TKind::GivenFolder, *value};
        } else if (name == "--beside") {
            r_.Destination = TDestination{TDestination::TKind::BesideInput, {}};
        } else if (name == "--text") {
            (void)ReadOptionWord("include", "texts", r_.Changes);
        } else if (name == "--jobs") {
            const std::optional<int32_t> jobs = ParseWholeNumber(*value);
            if (!jobs || *jobs < 0 || *jobs > kMaxJobs) {
                return Fail("--jobs takes a count 0.." + std::to_string(kMaxJobs) + ", not '" + *value + "'");
            }
            r_.Jobs = static_cast<uint32_t>(*jobs);
        } else {
            return Fail("unknown option '" + std::string(name) + "'");
        }
        return true;
    }

    bool Fail(std::string message)
    {
        r_.Action = TCommandLine::TAction::UsageError;
        r_.Error = std::move(message);
        return false;
    }

private:
    TCommandLine& r_;
};

bool TakesValue(std::string_view name) { return name != "--beside" && name != "--text"; }

// The short options, each standing for its long one.
constexpr std::pair<char, std::string_view> kShortOptions[] = {{'o', "--out"}, {'f', "--format"}, {'j', "--jobs"}};

bool IsValueOption(std::string_view name)
{
    return name == "--out" || name == "--scale" || name == "--marker" || name == "--marker-size" ||
           name == "--arcs" || name == "--include" || name == "--exclude" || name == "--format" ||
           name == "--background" || name == "--jobs" || name == "--font" || name == "--extrude";
}

}  // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    TCommandLine result;
    TParser parser(result);
    if (arguments.empty()) {
        parser.Fail("no input files");
        return result;
    }

    bool optionsEnded = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            result.Files.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "-h" || argument == "--help") {
            result.Action = TCommandLine::TAction::Help;
            return result;
        }
        if (argument == "--version") {
            result.Action = TCommandLine::TAction::Version;
            return result;
        }

        // --name VALUE or --name=VALUE; -o VALUE or -oVALUE for a short option
        std::string_view name = argument;
        std::optional<std::string> value;
        if (argument[1] != '-') {
            const auto* shortOption = std::ranges::find(kShortOptions, argument[1], &std::pair<char, std::string_view>::first);
            if (shortOption != std::end(kShortOptions)) {
                name = shortOption->second;
                if (argument.size() > 2) value = argument.substr(2);
            }
        } else if (const size_t equals = argument.find('='); equals != std::string::npos) {
            name = std::string_view(argument).substr(0, equals);
            value = argument.substr(equals + 1);
        }
        if (!TakesValue(name)) {
            if (value) {
                parser.Fail(std::string(name) + " takes no value");
                return result;
            }
        } else if (!value && IsValueOption(name)) {
            if (i + 1 >= arguments.size()) {
                parser.Fail(argument + " needs a value");
                return result;
            }
            value = arguments[++i];
        }
        if (!parser.Option(name, value)) return result;
    }

    if (result.Files.empty()) parser.Fail("no input files");
    return result;
}

std::string UsageText()
{
    return "Usage: tessaro [OPTION]... FILE...\n"
           "Convert Jw_cad drawings (.jww, .jws, .jwc, .jwk) into COLLADA 1.4.1 documents (.dae),\n"
           "one document per file, named after it.\n"
           "\n"
           "The options below replace the saved settings for this run only; they are never saved.\n"
           "A value may be joined to its option (--out=DIR, -oDIR); -- ends the options.\n"
           "  -o, --out DIR           write the documents into the folder DIR (made if missing)\n"
           "  --beside                write each document beside its input file\n"
           "  --scale 1|10|100|1000   coordinate factor (1 drawing mm = 0.001 x factor units)\n"
           "  --marker 0..7           point marker: 0 + 1 x 2 square 3 diamond 4 circle,\n"
           "                          5 filled square 6 filled diamond 7 filled circle\n"
           "  --marker-size MM        point marker size in paper millimetres\n"
           "  --arcs count:N          break every circle and arc into N segments\n"
           "  --arcs angle:DEG[:MIN]  about DEG degrees per segment, at least MIN segments\n"
           "  --arcs length:MM[:MIN]  about MM paper millimetres per segment, at least MIN segments\n"
           "  --include LIST          convert these kinds of entity too\n"
           "  --exclude LIST          leave these kinds of entity out\n"
           "                          LIST: comma-separated hidden,aux,dims,hatch,points,solids,texts\n"
           "  --text                  convert the texts too, as the outlines of their characters\n"
           "                          (the same as --include texts)\n"
           "  --font FILE             draw every text in this TrueType or OpenType font (else\n"
           "                          each text's own font, or the system's Gothic or Mincho)\n"
           "  --heights[=m|mm]        lift the lines whose ends the drawing's height texts mark\n"
           "                          (\"12\", \"2.8,4.2\": the numbers in metres, or mm) into\n"
           "                          edges, walls and roofs in 3D; those texts are not drawn\n"
           "  --extrude LAYER=M[,...] raise every line and arc of LAYER (0-1, 2-A, or its name)\n"
           "                          from 0 to M metres, with walls and roofs; a mark wins\n"
           "  -f, --format dae|dae-compact|glb|dxf\n"
           "                          the document: COLLADA with one element per segment (the\n"
           "                          default), compact COLLADA (shared vertices, one <lines>\n"
           "                          per geometry), binary glTF 2.0 (.glb) or DXF (.dxf: the\n"
           "                          drawing's own lines, arcs, texts, blocks and layers in\n"
           "                          millimetres; texts unless --exclude texts)\n"
           "  --background light|dark default pen colours for a light or dark background, for\n"
           "                          every file (drawings with their own pens keep them)\n"
           "  -j, --jobs N            convert N files at once (0: one per processor core); the\n"
           "                          documents and the lines printed stay those of one at a time\n"
           "  -h, --help              show this help and exit\n"
           "      --version           show the version and exit\n"
           "\n"
           "Numbers are clamped as in the window: marker size 0.00001..10000 (0 gives 1),\n"
           "segment counts 3..3600, angle 0.1..90 degrees, length 0.001..1000 mm.\n"
           "Without --out or --beside the documents go where the saved settings say: the\n"
           "Desktop (the default), Documents, each input's folder or a given folder.\n"
           "\n"
#ifdef _WIN32
           "Settings file: beside the executable, named like it with the extension \".dat\".\n"
#else
           "Settings file: $XDG_CONFIG_HOME/tessaro/tessaro.dat (~/.config/tessaro/tessaro.dat\n"
           "when XDG_CONFIG_HOME is unset); a file named like the executable with the extension\n"
           "\".dat\" that is already beside it is used instead.\n"
#endif
           "\n"
           "Exit status: 0 every file converted and written; 1 a file was skipped, failed its\n"
           "signature check, was damaged, reached the figure limit, could not be converted or\n"
           "could not be written; 2 usage error; 130 interrupted (Ctrl-C finishes the file in\n"
           "progress, then stops).\n";
}
