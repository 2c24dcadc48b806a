#include "kmlconvert/coordinate_reader.h"

#include "coord/number_text.h"
#include "services/base/enclosed.h"

#include <QFile>
#include <QIODevice>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <system_error>
#include <unistd.h>

namespace sw::kml {

namespace {

// How much of the file the XML parser is given at a time.
constexpr qint64 kReadBlock = 1 << 16;

struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

} // namespace

std::string openForReading(QFile& file, const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::strerror(errno);
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return file.errorString().toStdString();
    }
    return {};
}

std::string refusalText(std::string_view format, const std::string& file, long long line,
                        const std::string& reason) {
    std::string text = "The " + std::string(format) + " file " + file + " cannot be converted.\n";
    if (line > 0) {
        text += "Line " + std::to_string(line) + ": ";
    }
    return text + reason;
}

std::string shortened(std::string_view text) {
    if (text.size() > 40) {
        return std::string(text.substr(0, 40)) + "...";
    }
    return std::string(text);
}

std::optional<double> wholeNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    if (text.empty()) {
        return std::nullopt;
    }
    double value = 0;
    auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

void appendShown(std::string& to, char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
        to += c;
    } else if ((byte & 0xC0) != 0x80) {
        to += '?';
    }
}

std::pair<std::string_view, std::string_view> splitName(std::string_view qualified) {
    const std::size_t cut = qualified.rfind(kNamespaceSeparator);
    if (cut == std::string_view::npos) {
        return {std::string_view(), qualified};
    }
    return {qualified.substr(0, cut), qualified.substr(cut + 1)};
}

Extraction CoordinateReader::run(QIODevice& input) {
    const std::unique_ptr<XML_ParserStruct, ParserFree> owner(
        XML_ParserCreateNS(nullptr, kNamespaceSeparator));
    parser_ = owner.get();
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, &CoordinateReader::onStart, &CoordinateReader::onEnd);
    XML_SetCharacterDataHandler(parser_, &CoordinateReader::onText);
    XML_SetCommentHandler(parser_, &CoordinateReader::onComment);
    XML_SetProcessingInstructionHandler(parser_, &CoordinateReader::onInstruction);
    XML_SetEntityDeclHandler(parser_, &CoordinateReader::onEntity);
    // A file that names an external DTD may use entities the parser cannot see; expat then
    // skips them, and text would silently lose a piece.
    XML_SetSkippedEntityHandler(parser_, &CoordinateReader::onSkippedEntity);
    while (result_.ok()) {
        void* buffer = XML_GetBuffer(parser_, static_cast<int>(kReadBlock));
        if (buffer == nullptr) {
            refuse(0, "It is too large to read.");
            break;
        }
        const qint64 read = input.read(static_cast<char*>(buffer), kReadBlock);
        if (read < 0) {
            refuse(0, "It cannot be read: " + input.errorString().toStdString() + ".");
            break;
        }
        const bool last = read == 0;
        if (XML_ParseBuffer(parser_, static_cast<int>(read), last) != XML_STATUS_OK) {
            if (result_.ok()) {
                refuse(line(), std::string("it is not well-formed XML: ") +
                                   XML_ErrorString(XML_GetErrorCode(parser_)));
            }
            break;
        }
        if (last) {
            break;
        }
    }
    if (result_.ok()) {
        finished();
        endPart(); // a part still open at the end still holds vertices of the file
    }
    parser_ = nullptr;
    if (result_.ok() && result_.vertexCount == 0) {
        refuse(0, "It holds no coordinates.");
    }
    return std::move(result_);
}

long long CoordinateReader::line() const {
    return parser_ == nullptr ? 0 : static_cast<long long>(XML_GetCurrentLineNumber(parser_));
}

void CoordinateReader::onStart(void* self, const XML_Char* name, const XML_Char** attributes) {
    of(self).startElement(name, attributes, of(self).line());
}

void CoordinateReader::onEnd(void* self, const XML_Char*) {
    of(self).endElement(of(self).line());
}

void CoordinateReader::onText(void* self, const XML_Char* text, int length) {
    of(self).characters(std::string_view(text, static_cast<std::size_t>(length)), of(self).line());
}

void CoordinateReader::onComment(void* self, const XML_Char*) {
    of(self).other();
}

void CoordinateReader::onInstruction(void* self, const XML_Char*, const XML_Char*) {
    of(self).other();
}

void CoordinateReader::onEntity(void* self, const XML_Char*, int, const XML_Char*, int,
                                const XML_Char*, const XML_Char*, const XML_Char*,
                                const XML_Char*) {
    CoordinateReader& reader = of(self);
    reader.refuse(reader.line(), "it declares entities, which " + std::string(reader.format_) +
                                     " files do not use.");
}

void CoordinateReader::onSkippedEntity(void* self, const XML_Char* name, int) {
    of(self).refuse(of(self).line(),
                    "it uses the entity &" + std::string(name) + "; which it does not define.");
}

void CoordinateReader::beginPart(PartKind kind) {
    endPart();
    part_ = Part{};
    part_.kind = kind;
    part_.first = result_.vertexCount;
    partOpen_ = true;
}

void CoordinateReader::endPart() {
    if (partOpen_ && part_.count > 0) {
        result_.parts.push_back(part_);
    }
    partOpen_ = false;
}

void CoordinateReader::vertex(const std::string& text, const std::string_view* numbers,
                              std::size_t count, long long line) {
    if (count < 2 || count > 3) {
        refuse(line, enclosed(shortened(text)) +
                         " is not a coordinate tuple (longitude,latitude or "
                         "longitude,latitude,altitude).");
        return;
    }
    std::optional<double> values[3];
    for (std::size_t i = 0; i < count; ++i) {
        values[i] = wholeNumber(numbers[i]);
        if (!values[i]) {
            refuse(line, enclosed(shortened(text)) + " is not a coordinate tuple: " +
                             enclosed(shortened(numbers[i])) + " is not a number.");
            return;
        }
    }
    const double longitude = *values[0];
    const double latitude = *values[1];
    if (longitude < -180 || longitude > 180) {
        refuse(line, "the longitude " + std::string(numbers[0]) + " lies outside -180 to 180.");
        return;
    }
    if (latitude < -90 || latitude > 90) {
        refuse(line, "the latitude " + std::string(numbers[1]) + " lies outside -90 to 90.");
        return;
    }
    if (!partOpen_) {
        beginPart(PartKind::Other);
    }
    if (part_.count == 0) {
        part_.firstLongitude = longitude;
        part_.firstLatitude = latitude;
    }
    part_.lastLongitude = longitude;
    part_.lastLatitude = latitude;
    ++part_.count;
    ++result_.vertexCount;
    if (sink_) {
        sink_(Tuple{plainText(text, numbers, values, count), longitude, latitude});
    }
}

// The tuple as it stood, unless a number is written in a form other readers of the vertex
// file may take differently ("1e-05", "+82.5", ".5", "5."): such numbers are written out
// plainly.
std::string_view CoordinateReader::plainText(const std::string& text,
                                             const std::string_view* numbers,
                                             const std::optional<double>* values,
                                             std::size_t count) {
    auto plain = [](std::string_view n) {
        const std::size_t digits = n.starts_with('-') ? 1 : 0;
        if (n.size() <= digits || n[digits] < '0' || n[digits] > '9' || n.ends_with('.')) {
            return false;
        }
        for (std::size_t i = digits; i < n.size(); ++i) {
            if ((n[i] < '0' || n[i] > '9') && n[i] != '.') {
                return false;
            }
        }
        return true;
    };
    bool allPlain = true;
    for (std::size_t i = 0; i < count; ++i) {
        allPlain = allPlain && plain(numbers[i]);
    }
    if (allPlain) {
        return text;
    }
    rewritten_.clear();
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            rewritten_ += ',';
        }
        rewritten_ += shortestText(*values[i]);
    }
    return rewritten_;
}

void CoordinateReader::refuse(long long line, const std::string& reason) {
    if (result_.ok()) {
        result_.refusal = refusalText(format_, shownName_, line, reason);
    }
    if (parser_ != nullptr) {
        XML_StopParser(parser_, XML_FALSE);
    }
}

} // namespace sw::kml
