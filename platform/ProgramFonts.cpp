#include "platform/ProgramFonts.h"

#include <fontconfig/fontconfig.h>

#include <QRegularExpression>
#include <QString>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/Font.h"

namespace platform {

namespace {

struct ConfigDeleter {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
using Config = std::unique_ptr<FcConfig, ConfigDeleter>;

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out += c;
        }
    }
    return out;
}

// fontconfig's own numbering of its configuration files: 10-29 rendering
// options, 90-99 synthetic styles. The rest (families, aliases, the user's
// files) chooses among fonts the program does not show.
bool isRenderingRule(const std::string& file) {
    return file.size() > 7 && file.ends_with(".conf") && file[2] == '-' &&
           (file[0] == '1' || file[0] == '2' || file[0] == '9') && file[1] >= '0' && file[1] <= '9';
}

std::vector<std::string> renderingRules(FcConfig* config) {
    std::vector<std::string> rules;
    FcChar8* folder = FcConfigGetFilename(config, reinterpret_cast<const FcChar8*>("conf.d"));
    if (!folder) return rules;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(reinterpret_cast<const char*>(folder), error)) {
        if (isRenderingRule(entry.path().filename().string())) rules.push_back(entry.path().string());
    }
    FcStrFree(folder);
    std::sort(rules.begin(), rules.end());
    return rules;
}

std::string configuration(const std::vector<std::string>& folders, const std::vector<std::string>& rules) {
    std::string xml = "<?xml version=\"1.0\"?>\n<fontconfig>\n";
    for (const auto& folder : folders) xml += "<dir>" + escaped(folder) + "</dir>\n";
    xml += "<cachedir>/var/cache/fontconfig</cachedir>\n<cachedir prefix=\"xdg\">fontconfig</cachedir>\n";
    for (const auto& rule : rules) xml += "<include ignore_missing=\"yes\">" + escaped(rule) + "</include>\n";
    // Text in no design face (none is expected) falls back to the faces Debian's
    // desktop would take.
    const std::pair<const char*, const char*> generics[] = {
        {"sans-serif", "DejaVu Sans"}, {"Sans Serif", "DejaVu Sans"}, {"serif", "DejaVu Serif"},
        {"monospace", "DejaVu Sans Mono"}};
    for (const auto& [generic, face] : generics) {
        xml += std::string("<alias><family>") + generic + "</family><prefer><family>" + face +
               "</family></prefer></alias>\n";
    }
    return xml + "</fontconfig>\n";
}

// Whether the configuration lists a family named as Qt names it: "P052 [UKWN]"
// is the family P052 from the foundry UKWN.
bool holds(FcConfig* config, const QString& qtName) {
    static const QRegularExpression withFoundry(R"(^(.*) \[(.*)\]$)");
    const auto match = withFoundry.match(qtName);
    const QString family = match.hasMatch() ? match.captured(1) : qtName;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.toUtf8().constData()));
    if (match.hasMatch()) {
        FcPatternAddString(pattern, FC_FOUNDRY, reinterpret_cast<const FcChar8*>(match.captured(2).toUtf8().constData()));
    }
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = FcFontList(config, pattern, objects);
    const bool found = fonts && fonts->nfont > 0;
    if (fonts) FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return found;
}

}  // namespace

std::vector<std::string> programFontFolders() {
    return {
        "/usr/share/fonts/truetype/dejavu",           // fonts-dejavu-core
        "/usr/share/fonts/truetype/liberation2",      // fonts-liberation2
        "/usr/share/fonts/opentype/urw-base35",       // fonts-urw-base35, its OpenType files
        "/usr/share/fonts/opentype/ebgaramond",       // fonts-ebgaramond
        "/usr/share/fonts/truetype/andika",           // fonts-sil-andika
        "/usr/share/fonts/truetype/roboto/unhinted",  // fonts-roboto-unhinted
    };
}

bool useProgramFonts(const std::vector<std::string>& folders) {
    Config config(FcConfigCreate());
    if (!config) return false;
    const std::string xml = configuration(folders, renderingRules(config.get()));
    if (!FcConfigParseAndLoadFromMemory(config.get(), reinterpret_cast<const FcChar8*>(xml.c_str()), FcTrue) ||
        !FcConfigBuildFonts(config.get())) {
        return false;
    }
    for (const QString& family : freeFamilies()) {
        if (!holds(config.get(), family)) return false;
    }
    // The current configuration keeps a reference of its own.
    return FcConfigSetCurrent(config.get()) == FcTrue;
}

}  // namespace platform
