// Parses a generated all-macros exchange file of about 10 MB and walks every
// element and attribute, with MarkupDocument, pugixml and libxml2 in one
// run. Each library reads the file itself and hands out attribute values
// the way its callers normally take them (ours and libxml2 as a copy,
// pugixml as a pointer into its buffer). The last line printed is the
// throughput ratio of MarkupDocument to libxml2 (above 1: ours is faster),
// from CPU time like the bytes_per_second column: on a shared machine the
// wall-clock time mostly measures the other processes.

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <pugixml.hpp>
#include <string>

#include "markup/MarkupDocument.h"

namespace {

namespace fs = std::filesystem;

fs::path g_file;
std::size_t g_bytes = 0;

// The all-macros layout as the exporter writes it: one element per line,
// CR LF, no indentation, every value in an attribute.
std::size_t WriteMacroFile(const fs::path& file, std::size_t targetBytes) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macro>\r\n";
  const char* const keys[] = {"Left button", "Key A", "Key Shift", "Wheel up", "Key F5 &amp; Ctrl", "\xC3\xA9t\xC3\xA9"};
  char line[256];
  for (int m = 0; out.size() < targetBytes; ++m) {
    std::snprintf(line, sizeof(line),
                  "<macro_item macro_name=\"Macro &quot;%d&quot;\" macro_type=\"%d\" play_times=\"%d\" "
                  "delay_type=\"%d\" delay_time=\"%d\">\r\n<record_item>\r\n",
                  m, m % 3, 1 + m % 5, m % 2, 10 * (m % 7));
    out += line;
    const int events = 20 + m % 60;
    for (int e = 0; e < events; ++e) {
      std::snprintf(line, sizeof(line),
                    "<item desc=\"%s %s\" index=\"%d\" type=\"%d\" value=\"%d\" timestamp=\"%d\"/>\r\n",
                    keys[(m + e) % 6], e % 2 ? "up" : "down", e, 1 + e % 4, 0x41 + e % 26, 8 * (e % 50));
      out += line;
    }
    out += "</record_item>\r\n</macro_item>\r\n";
  }
  out += "</macro>\r\n";
  std::ofstream(file, std::ios::binary).write(out.data(), static_cast<std::streamsize>(out.size()));
  return out.size();
}

void BM_MarkupDocument(benchmark::State& state) {
  for (auto _ : state) {
    MarkupDocument doc;
    if (!doc.LoadFile(g_file) || !doc.IsWellFormed()) {
      state.SkipWithError("MarkupDocument failed to read the file");
      return;
    }
    std::size_t elements = 0, chars = 0;
    while (true) {
      if (doc.FindElement()) {
        ++elements;
        for (int i = 0;; ++i) {
          const std::wstring name = doc.GetAttributeName(i);
          if (name.empty()) break;
          chars += doc.GetAttribute(name).size();
        }
        doc.EnterElement();
      } else if (!doc.LeaveElement()) {
        break;
      }
    }
    benchmark::DoNotOptimize(elements);
    benchmark::DoNotOptimize(chars);
    state.counters["elements"] = static_cast<double>(elements);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * g_bytes));
}

void BM_Pugixml(benchmark::State& state) {
  for (auto _ : state) {
    pugi::xml_document doc;
    if (!doc.load_file(g_file.c_str())) {
      state.SkipWithError("pugixml failed to read the file");
      return;
    }
    std::size_t elements = 0, chars = 0;
    pugi::xml_node node = doc.first_child();
    while (node) {
      if (node.type() == pugi::node_element) {
        ++elements;
        for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
          chars += std::char_traits<char>::length(a.value());
        }
      }
      if (node.first_child()) {
        node = node.first_child();
      } else {
        while (node && !node.next_sibling()) node = node.parent();
        if (node) node = node.next_sibling();
      }
    }
    benchmark::DoNotOptimize(elements);
    benchmark::DoNotOptimize(chars);
    state.counters["elements"] = static_cast<double>(elements);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * g_bytes));
}

void BM_Libxml2(benchmark::State& state) {
  for (auto _ : state) {
    xmlDocPtr doc = xmlReadFile(g_file.c_str(), nullptr, XML_PARSE_NONET);
    if (doc == nullptr) {
      state.SkipWithError("libxml2 failed to read the file");
      return;
    }
    std::size_t elements = 0, chars = 0;
    xmlNodePtr node = xmlDocGetRootElement(doc);
    while (node != nullptr) {
      if (node->type == XML_ELEMENT_NODE) {
        ++elements;
        for (xmlAttrPtr a = node->properties; a != nullptr; a = a->next) {
          xmlChar* value = xmlGetProp(node, a->name);
          chars += static_cast<std::size_t>(xmlStrlen(value));
          xmlFree(value);
        }
      }
      if (node->children != nullptr) {
        node = node->children;
      } else {
        while (node != nullptr && node->next == nullptr) {
          node = node->parent;
          if (node != nullptr && node->type == XML_DOCUMENT_NODE) node = nullptr;
        }
        if (node != nullptr) node = node->next;
      }
    }
    xmlFreeDoc(doc);
    benchmark::DoNotOptimize(elements);
    benchmark::DoNotOptimize(chars);
    state.counters["elements"] = static_cast<double>(elements);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * g_bytes));
}

BENCHMARK(BM_MarkupDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pugixml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libxml2)->Unit(benchmark::kMillisecond);

// Prints as usual and keeps the CPU time per iteration of each benchmark.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  explicit RecordingReporter(OutputOptions options) : ConsoleReporter(options) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        seconds_[run.run_name.function_name] = run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double Time(const std::string& name) const {
    const auto it = seconds_.find(name);
    return it == seconds_.end() ? 0.0 : it->second;
  }

 private:
  std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv) {
  xmlInitParser();
  const fs::path folder = fs::temp_directory_path();
  g_file = folder / ("bench_markup_" + std::to_string(::getpid()) + ".xml");
  g_bytes = WriteMacroFile(g_file, 10u * 1000u * 1000u);
  std::printf("generated %zu bytes of all-macros layout\n", g_bytes);

  benchmark::Initialize(&argc, argv);
  // Colour only on a terminal, so that piped output ends in the plain line.
  RecordingReporter reporter(::isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                     : benchmark::ConsoleReporter::OO_Tabular);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  fs::remove(g_file);
  xmlCleanupParser();

  const double ours = reporter.Time("BM_MarkupDocument");
  const double theirs = reporter.Time("BM_Libxml2");
  const double ratio = ours > 0.0 ? theirs / ours : 0.0;
  std::fflush(stdout);
  std::printf("markup/libxml2 throughput ratio: %.2f\n", ratio);
  return ours > 0.0 && theirs > 0.0 ? 0 : 1;
}
