// The 39 settings of a profile against the documented table, written out
// here as literals: the value a new profile gets and the value the factory
// reset writes (nullptr: the reset leaves the row alone). The store's own
// table is checked against this one, not the other way round.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "StoreTestSupport.h"
#include "platform/Text.h"

using storetest::StoreFixture;

namespace {

struct Row {
  const char* key;
  const char* initial;
  const char* reset;
};

// In insertion order.
constexpr Row kTable[] = {
    {"version", "1.0.1", nullptr},
    {"sleep_light", "5", "30"},
    {"move_wakeup", "1", "0"},
    {"move_closelight", "1", "1"},
    {"report_rate", "2", "2"},
    {"report_rate_wireless", "1", nullptr},
    {"report_count", "4", "4"},
    {"report_flag", "127", "127"},
    {"button_respondtime", "8", "8"},
    {"sensor_flag", "53", "0"},
    {"liftoff_height", "1", "2"},
    {"scroll_flag", "1", "1"},
    {"e-sports_flag", "0", "0"},
    {"leftbtn_lock", "1", "1"},
    {"dpi_flag", "6", "6"},
    {"dpi_index", "1", "1"},
    {"dpi_count", "6", "6"},
    {"dpi_group0_value", "800", "800"},
    {"dpi_group1_value", "1600", "1200"},
    {"dpi_group2_value", "2400", "2000"},
    {"dpi_group3_value", "3200", "5000"},
    {"dpi_group4_value", "6400", "8000"},
    {"dpi_group5_value", "22000", "22000"},
    {"dpi_group6_value", "26000", "26000"},
    {"dpi_group7_value", "0", "0"},
    {"dpi_group0_rgb", "255", "255"},            // 0x0000FF
    {"dpi_group1_rgb", "65280", "65280"},        // 0x00FF00
    {"dpi_group2_rgb", "16711680", "16711680"},  // 0xFF0000
    {"dpi_group3_rgb", "16711935", "16711935"},  // 0xFF00FF
    {"dpi_group4_rgb", "65535", "65535"},        // 0x00FFFF
    {"dpi_group5_rgb", "16776960", "16776960"},  // 0xFFFF00
    {"dpi_group6_rgb", "16712191", nullptr},     // 0xFF01FF, not 0xFF00FF
    {"dpi_group7_rgb", "16777215", nullptr},     // 0xFFFFFF
    {"dpi_group8_rgb", "2139135", nullptr},      // 0x20A3FF
    {"mouse_speed", "10", "10"},
    {"mouse_sensitivity", "1", "1"},
    {"wheel_scrollflag", "0", "0"},
    {"wheel_scrolllines", "3", "3"},
    {"doubleclick_time", "550", "550"},
};
static_assert(std::size(kTable) == 39);

std::wstring W(const char* text) { return platform::FromUtf8(text); }

// (key, value) rows of one profile in insertion order, read on a
// connection of its own.
std::vector<std::pair<std::string, std::string>> StoredRows(const std::filesystem::path& db, int profile) {
  std::vector<std::pair<std::string, std::string>> rows;
  sqlite3* h = nullptr;
  if (sqlite3_open_v2(db.c_str(), &h, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(h, "SELECT key, value FROM t_configdata WHERE profile = ? ORDER BY config_id", -1, &st,
                           nullptr) == SQLITE_OK) {
      sqlite3_bind_int(st, 1, profile);
      while (sqlite3_step(st) == SQLITE_ROW) {
        auto text = [&](int col) {
          const unsigned char* t = sqlite3_column_text(st, col);
          return t ? std::string(reinterpret_cast<const char*>(t)) : std::string();
        };
        rows.emplace_back(text(0), text(1));
      }
    }
    sqlite3_finalize(st);
  }
  sqlite3_close(h);
  return rows;
}

class ConfigDefaultsTest : public StoreFixture {};

}  // namespace

TEST_F(ConfigDefaultsTest, NewProfileGetsTheDocumentedRowsInOrder) {
  ASSERT_TRUE(Open());
  ASSERT_EQ(store_.AddProfile(ProfileRecord{0, L"a", 0, L"", 0}), 1);
  const auto rows = StoredRows(File(), 1);
  ASSERT_EQ(rows.size(), std::size(kTable));
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(kTable[i].key);
    EXPECT_EQ(rows[i].first, kTable[i].key);
    EXPECT_EQ(rows[i].second, kTable[i].initial);
  }
}

TEST_F(ConfigDefaultsTest, FactoryResetWritesTheDocumentedColumnOnly) {
  ASSERT_TRUE(Open());
  ASSERT_EQ(store_.AddProfile(ProfileRecord{0, L"a", 0, L"", 0}), 1);
  ASSERT_EQ(store_.AddProfile(ProfileRecord{0, L"b", 0, L"", 0}), 2);
  // A value no column holds shows which rows the reset wrote.
  for (const Row& row : kTable) {
    ASSERT_TRUE(store_.SetConfigValue(1, W(row.key), L"777"));
    ASSERT_TRUE(store_.SetConfigValue(2, W(row.key), L"777"));
  }
  store_.ResetDefaults(1);
  const auto reset = StoredRows(File(), 1);
  const auto other = StoredRows(File(), 2);
  ASSERT_EQ(reset.size(), std::size(kTable));
  ASSERT_EQ(other.size(), std::size(kTable));
  for (size_t i = 0; i < std::size(kTable); ++i) {
    SCOPED_TRACE(kTable[i].key);
    EXPECT_EQ(reset[i].first, kTable[i].key);
    EXPECT_EQ(reset[i].second, kTable[i].reset ? kTable[i].reset : "777");
    EXPECT_EQ(other[i].second, "777");  // another profile is not touched
  }
}

// The store publishes its table for the exchange files and the dialogs; it
// must be the documented one.
TEST_F(ConfigDefaultsTest, PublishedTableIsTheDocumentedOne) {
  const auto published = SettingsStore::ConfigDefaults();
  ASSERT_EQ(published.size(), std::size(kTable));
  for (size_t i = 0; i < published.size(); ++i) {
    SCOPED_TRACE(kTable[i].key);
    EXPECT_EQ(platform::ToUtf8(published[i].key), kTable[i].key);
    EXPECT_EQ(platform::ToUtf8(published[i].initial), kTable[i].initial);
    EXPECT_EQ(published[i].reset == nullptr, kTable[i].reset == nullptr);
    if (published[i].reset && kTable[i].reset) {
      EXPECT_EQ(platform::ToUtf8(published[i].reset), kTable[i].reset);
    }
  }
}
