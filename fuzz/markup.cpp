// libFuzzer target for MarkupDocument: the input is read as a file (every
// encoding path) and, decoded as UTF-8, parsed as a text; each document is
// then walked with the cursor and changed with a few writer calls.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "markup/MarkupDocument.h"
#include "platform/Text.h"

namespace {

// Visits every element with FindElement/EnterElement/LeaveElement and reads
// its attributes; the step cap guards against a cursor that never ends.
void Walk(MarkupDocument& doc) {
  std::size_t steps = 0;
  const std::size_t limit = doc.GetText().size() * 4 + 64;
  while (steps++ < limit) {
    if (doc.FindElement()) {
      for (int i = 0;; ++i) {
        const std::wstring name = doc.GetAttributeName(i);
        if (name.empty()) break;
        doc.GetAttribute(name);
      }
      doc.GetAttribute(L"v");
      doc.EnterElement();
    } else if (!doc.LeaveElement()) {
      return;
    }
  }
  __builtin_trap();  // the walk did not end
}

void Write(MarkupDocument& doc, const std::wstring& value) {
  doc.FindElement();
  doc.SetAttribute(L"v", value);
  doc.SetAttribute(L"w", L"<&\"'>");
  doc.EnterElement();
  doc.AddElement(L"item");
  doc.SetAttribute(L"v", value);
  doc.LeaveElement();
  doc.AddElement(L"after");
  // The edited text must index like a fresh parse of it.
  MarkupDocument again;
  again.ParseText(doc.GetText());
  Walk(again);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/fuzz_markup_" + std::to_string(::getpid()) + ".xml";
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    MarkupDocument doc;
    int flags = 0;
    if (doc.LoadFile(path, nullptr, &flags)) {
      Walk(doc);
      Write(doc, doc.GetText().substr(0, 16));
      doc.SaveFile(path, nullptr, &flags);
    }
  }

  MarkupDocument doc;
  doc.ParseText(platform::FromUtf8(bytes));
  Walk(doc);
  Write(doc, L"x");
  return 0;
}
