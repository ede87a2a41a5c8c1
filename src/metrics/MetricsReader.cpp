#include "metrics/MetricsReader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string_view>

#include "common/DataFiles.h"
#include "common/Exception.h"
#include "common/LinePatterns.h"
#include "common/Log.h"
#include "common/Numbers.h"
#include "common/TextLines.h"
#include "xmi/XMIResult.h"

namespace {

Color paletteColor(int red, int green, int blue) {
    return Color(static_cast<float>(red) / 255.0f, static_cast<float>(green) / 255.0f,
                 static_cast<float>(blue) / 255.0f, 1.0f);
}

} // namespace

const std::array<Color, 16> metricPalette = {
    paletteColor(117, 144, 174), paletteColor(179, 145, 105), paletteColor(131, 166, 127),
    paletteColor(153, 0, 0),     paletteColor(209, 148, 12),  paletteColor(98, 91, 129),
    paletteColor(93, 117, 85),   paletteColor(193, 102, 90),  paletteColor(223, 66, 30),
    paletteColor(136, 70, 49),   paletteColor(70, 160, 70),   paletteColor(173, 167, 200),
    paletteColor(238, 214, 128), paletteColor(73, 64, 102),   paletteColor(73, 64, 102),
    paletteColor(128, 125, 116)};

std::size_t nextPaletteIndex = 0;

namespace {

bool isDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// The fields of an element value line are separated by runs of commas; empty fields are
// dropped. Only the first (the element's id) and the last (the value) matter.
struct Fields {
    std::string_view first;
    std::string_view last;
};

// `expected` is the id the line most likely starts with, or empty: when the line's first
// field is that id, `sameAsExpected` is set and the line is not searched for its first
// comma.
inline bool splitFields(std::string_view line, std::string_view expected, Fields& fields,
                        bool& sameAsExpected) {
    sameAsExpected = false;
    const char* begin = line.data();
    const char* end = begin + line.size();
    while (begin != end && *begin == ',')
        ++begin;
    if (begin == end)
        return false;
    while (end[-1] == ',') // stops at the field found above at the latest
        --end;
    const auto length = static_cast<std::size_t>(end - begin);
    const char* firstEnd;
    if (!expected.empty() && expected.size() <= length &&
        (expected.size() == length || begin[expected.size()] == ',') &&
        std::memcmp(begin, expected.data(), expected.size()) == 0) {
        firstEnd = begin + expected.size();
        sameAsExpected = true;
    } else {
        const auto* comma = static_cast<const char*>(std::memchr(begin, ',', length));
        firstEnd = comma ? comma : end;
    }
    fields.first = std::string_view(begin, static_cast<std::size_t>(firstEnd - begin));
    // With more than one field the last starts after the last comma before the end.
    const char* lastBegin = end;
    if (firstEnd == end)
        lastBegin = begin;
    else
        while (lastBegin[-1] != ',')
            --lastBegin;
    fields.last = std::string_view(lastBegin, static_cast<std::size_t>(end - lastBegin));
    return true;
}

inline bool splitFields(std::string_view line, Fields& fields) {
    bool same;
    return splitFields(line, std::string_view(), fields, same);
}

// Same language as the whole-line pattern "^(([^,]+),*)+$": fields of non-commas separated
// by comma runs, a trailing run allowed. Checked by hand because the nested repetition makes
// a backtracking engine slow on long lines.
bool isFieldList(std::string_view line) {
    return !line.empty() && line.front() != ',';
}

// Asks for the memory of a member of a far object: both cache lines where it straddles the
// end of one.
template <class Member> void prefetchWhole(const Member& member) {
    const auto* bytes = reinterpret_cast<const char*>(&member);
    __builtin_prefetch(bytes);
    __builtin_prefetch(bytes + sizeof member - 1);
}

// The element found for each line of a block, null where the line named none, and the
// line's id beside it.
class LineElements {
public:
    // A line with this id (empty for a line without fields) and its element, null where
    // it is not found yet.
    void add(std::string_view id, UMLModelElement* element) {
        const std::size_t begin = idsUsed_;
        if (ids_.size() - begin < id.size())
            ids_.resize(std::max(ids_.size() * 2, begin + id.size()));
        if (!id.empty())
            std::memcpy(&ids_[begin], id.data(), id.size());
        idsUsed_ += id.size();
        lines_.emplace_back(element, begin, id.size());
    }
    std::size_t size() const { return lines_.size(); }
    std::string_view id(std::size_t n) const {
        return {ids_.data() + lines_[n].idBegin, lines_[n].idLength};
    }
    void setElement(std::size_t n, UMLModelElement* element) { lines_[n].element = element; }
    // The id of the n-th line where that line named an element, else empty: a line that
    // names the same id in the next block names the same element.
    std::string_view foundId(std::size_t n) const {
        if (n >= lines_.size() || !lines_[n].element)
            return {};
        return id(n);
    }
    UMLModelElement* element(std::size_t n) const { return lines_[n].element; }
    bool empty() const { return lines_.empty(); }
    // Keeps the memory for the next block.
    void clear() {
        lines_.clear();
        idsUsed_ = 0;
    }

private:
    struct Line {
        // Made in place, member by member: a line copied in from a temporary is read back
        // whole from the stack before the stores of its members have landed there.
        Line(UMLModelElement* element_, std::size_t idBegin_, std::size_t idLength_)
            : element(element_), idBegin(idBegin_), idLength(idLength_) {}
        UMLModelElement* element;
        std::size_t idBegin; // in ids_
        std::size_t idLength;
    };
    std::vector<Line> lines_;
    std::string ids_; // the ids of the lines one after the other, in its first idsUsed_ characters
    std::size_t idsUsed_ = 0;
};

// Lines of a text-mode file. Past the end every read gives an empty line.
class LineSource {
public:
    explicit LineSource(std::istream& in) : lines_(in) {}
    bool next(std::string& line) { return lines_.next(line); }
    bool next(std::string_view& line) { return lines_.next(line); }

private:
    TextLineReader lines_;
};

class BlockReader {
public:
    BlockReader(std::istream& in, XMIResult& model, MetricCollection& collection)
        : source_(in), model_(model), collection_(collection) {}

    void readAll() {
        for (;;) {
            bool found = false;
            while (source_.next(line_)) {
                if (!line_.empty()) {
                    found = true;
                    break;
                }
            }
            if (!found)
                return;
            readBlock();
        }
    }

private:
    void readBlock() {
        // "[" name options "]": the name is letters, blanks and hyphens; each option is a
        // blank, "%" and letters. Options are accepted and ignored.
        std::string_view header;
        if (!matchMetricHeader(line_, header)) {
            logLine("Invalid metric header format encountered (" + line_ + ")");
            skip();
            return;
        }
        const std::string name(header);
        blockName_ = MetricName(name);

        source_.next(line_);
        if (line_.empty()) {
            source_.next(line_);
            return;
        }
        if (isDigits(line_)) {
            auto count = std::make_unique<CountMetric>();
            count->name = name;
            count->value = value(line_, line_, name);
            collection_.globalMetrics.push_back(std::move(count));
            source_.next(line_);
            source_.next(line_);
            return;
        }
        Fields fields;
        // A line too long to be kept is malformed whatever it held.
        if (line_ == overlongLine || !isFieldList(line_) || !splitFields(line_, fields)) {
            logLine("Invalid metric value format encountered (" + line_ + ") at (" + name + ")");
            skip();
            return;
        }
        MetricProperties& properties = newProperties(name);
        if (isDigits(fields.last))
            readIntBlock(name, fields.last, properties);
        else if (fields.last == "true" || fields.last == "false")
            readBoolBlock();
        else {
            logLine("Invalid element metric value format encountered (" + line_ + ") at (" + name +
                    ")");
            skip();
        }
    }

    void readIntBlock(const std::string& name, std::string_view firstValue,
                      MetricProperties& properties) {
        // The first line's value counts towards the maximum even if its element is missing.
        std::int32_t max = value(firstValue, line_, name);
        // The block's records follow each other in the collection's list.
        const std::size_t first = collection_.elementMetrics.size();
        readBlockLines(
            [&](const Fields& fields, std::string_view line, std::size_t n, PendingLine& pending) {
                if (n == 0) {
                    pending.value = max;
                    return;
                }
                const CIntScan scan = scanCInt(fields.last);
                pending.value = scan.value;
                if (scan.saturated)
                    pending.saturatedLine.assign(line);
                pending.saturated = scan.saturated;
            },
            [&](UMLModelElement& element, const PendingLine& pending) {
                if (pending.saturated)
                    logSaturated(pending.saturatedLine, name);
                IntMetric& record = collection_.newIntRecord();
                record.name = blockName_;
                record.value = pending.value;
                if (record.value > max)
                    max = record.value;
                attach(element, record);
            });

        const auto& records = collection_.elementMetrics;
        if (records.size() > first) {
            for (std::size_t i = first; i < records.size(); ++i) {
                auto* record = static_cast<IntMetric*>(records[i]);
                record->min = 0;
                record->max = max;
            }
            // Computed in 64 bits: the maximum may be the largest 32-bit value.
            properties.setDefaultThresholds(static_cast<float>(std::int64_t{max} + 1));
        }
        collection_.ranges[name] = {0, max};
        source_.next(line_);
    }

    void readBoolBlock() {
        readBlockLines([](const Fields& fields, std::string_view, std::size_t,
                          PendingLine& pending) { pending.value = fields.last == "true"; },
                       [&](UMLModelElement& element, const PendingLine& pending) {
                           BoolMetric& record = collection_.newBoolRecord();
                           record.name = blockName_;
                           record.value = pending.value != 0;
                           attach(element, record);
                       });
        source_.next(line_);
    }

    // Reads the lines of a block up to the empty line that ends it, a batch at a time: each
    // line is handed, as it is read, to `parse` with its fields, its text and its position
    // in the block, which notes what its record needs; once the elements of the batch are
    // found, `make` gets each line whose element exists, in order.
    template <class Parse, class Make> void readBlockLines(Parse parse, Make make) {
        std::size_t n = 0; // the position in the block of the batch's first line
        std::size_t count = 0;
        std::string_view line = line_; // the block's first line, read by the caller
        const IdRegistry& registry = model_.idRegistry;
        for (bool ended = false; !ended;) {
            std::size_t searches = 0; // lines of the batch whose element is searched for
            for (; count < batch_.size(); ++count) {
                if (n + count > 0) {
                    source_.next(line);
                    if (line.empty()) {
                        ended = true;
                        break;
                    }
                }
                PendingLine& pending = batch_[count];
                Fields fields;
                bool same = false;
                pending.hasFields = splitFields(line, previous_.foundId(n + count), fields, same);
                pending.element = same ? previous_.element(n + count) : nullptr;
                pending.search = pending.hasFields && !same;
                if (pending.element) {
                    prefetchWhole(pending.element->userData);
                } else if (pending.search) {
                    pending.hash = IdRegistry::hashOf(fields.first);
                    registry.prefetch(pending.hash);
                    ++searches;
                }
                current_.add(pending.hasFields ? fields.first : std::string_view(),
                             pending.element);
                pending.saturated = false;
                if (pending.hasFields)
                    parse(fields, line, n + count, pending);
            }
            findElements(n, count, searches);
            for (std::size_t i = 0; i < count; ++i) {
                if (batch_[i].element)
                    make(*batch_[i].element, batch_[i]);
            }
            n += count;
            count = 0;
        }
        line_.clear();
        endBlock();
    }

    // Most elements get a record from each of the five to fifteen element blocks of a
    // file: room for eight at the first record spares most lists any reallocation, and
    // the others all but one; each would copy and free memory scattered over the heap.
    static void attach(UMLModelElement& element, ElementMetric& record) {
        auto& data = element.userData;
        if (data.capacity() == 0)
            data.reserve(8);
        data.push_back(&record);
    }

    // A value that does not fit 32 bits is clamped to the range and the line is logged.
    std::int32_t value(std::string_view text, const std::string& line, const std::string& name) {
        const CIntScan scan = scanCInt(text);
        if (scan.saturated)
            logSaturated(line, name);
        return scan.value;
    }

    static void logSaturated(const std::string& line, const std::string& name) {
        logLine("Metric value out of range, saturated (" + line + ") at (" + name + ")");
    }

    // Finds the elements of a batch of lines, the n-th to the (n + count - 1)-th of the
    // block. The blocks of a file usually list the same elements in the same order, so a
    // line is split expecting the id of the same line of the previous block, whose element
    // it then names; only another id, or one the model lacks, costs a search of the
    // registry, whose slot the line has asked for already. The elements of a large model
    // lie far apart in memory: each step below asks, for every line of the batch, for the
    // memory that the next step reads, so that the cache misses of the batch overlap
    // instead of following each other.
    void findElements(std::size_t n, std::size_t count, std::size_t searches) {
        const IdRegistry& registry = model_.idRegistry;
        if (searches > 0) {
            for (std::size_t i = 0; i < count; ++i) {
                if (!batch_[i].search)
                    continue;
                if (const UMLElement* likely = registry.likely(batch_[i].hash)) {
                    // Where the search reads the element: its start, which tells its
                    // class, and its id.
                    __builtin_prefetch(likely);
                    prefetchWhole(likely->id);
                }
            }
            for (std::size_t i = 0; i < count; ++i) {
                PendingLine& line = batch_[i];
                if (!line.search)
                    continue;
                UMLElement* found = registry.find(current_.id(n + i), line.hash);
                line.element = found ? found->asModelElement() : nullptr;
                if (line.element) {
                    prefetchWhole(line.element->userData);
                    current_.setElement(n + i, line.element);
                }
            }
        }
        for (std::size_t i = 0; i < count; ++i) {
            if (const UMLModelElement* element = batch_[i].element) {
                // Where the record goes, or the list to be copied when it has no room left.
                const auto& data = element->userData;
                __builtin_prefetch(data.data() + (data.size() < data.capacity() ? data.size() : 0));
            }
        }
    }

    void endBlock() {
        if (!current_.empty())
            std::swap(previous_, current_);
        current_.clear();
    }

    // A later block of the same name replaces (and releases) the earlier record.
    MetricProperties& newProperties(const std::string& name) {
        auto properties = std::make_unique<MetricProperties>();
        properties->setDefaults(metricPalette[nextPaletteIndex % 16]);
        ++nextPaletteIndex;
        auto& slot = collection_.properties[name];
        slot = std::move(properties);
        return *slot;
    }

    // Skips the rest of a rejected block and the line that separates it from the next.
    void skip() {
        if (!line_.empty())
            while (source_.next(line_) && !line_.empty()) {
            }
        source_.next(line_);
    }

    LineSource source_;
    XMIResult& model_;
    MetricCollection& collection_;
    std::string line_;
    MetricName blockName_; // the name of the block being read, shared by its records
    // The lines of the block being read, a batch at a time: what their records need, and
    // their elements.
    struct PendingLine {
        bool hasFields = false;
        bool search = false;                // its element is not the guess from the last block
        std::int32_t value = 0;             // the record's value (0 or 1 for a boolean)
        bool saturated = false;             // the value did not fit and is logged with the line
        std::string saturatedLine;          // the line's text, when it is logged
        std::uint64_t hash = 0;             // of the id, when it is searched for
        UMLModelElement* element = nullptr; // null until found, and where the model lacks it
    };
    // Sixty-four lines keep enough searches under way to cover the memory's latency; a
    // larger batch no longer pays (measured on a generated model of 125 MB).
    std::array<PendingLine, 64> batch_;
    // The element of each line of the previous block and of this one, null where the
    // line named none (a missing id is looked up again in the next block).
    LineElements previous_;
    LineElements current_;
};

} // namespace

void MetricsReader::read(const std::string& fileName, XMIResult& model) {
    std::ifstream in;
    if (!openForReading(in, fileName))
        throw MetricsParseException("Unable to open metrics file");
    collection = std::make_unique<MetricCollection>();
    BlockReader(in, model, *collection).readAll();
}

std::unique_ptr<MetricCollection> loadMetricsFile(const std::string& path, XMIResult& model) {
    MetricsReader reader;
    reader.read(path, model);
    return std::move(reader.collection);
}
