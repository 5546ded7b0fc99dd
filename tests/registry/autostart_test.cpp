#include "registry/autostart.h"

#include "common/handles.h"
#include "support/scratch_registry.h"

namespace {

using Autostart::QueryResult;
using Autostart::Status;

const std::string kPath = Autostart::ListKeyPath("6.0");

class AutostartTest : public ScratchRegistryTest {
 protected:
  Status Query(const std::string& name, QueryResult& result, std::int32_t& type) {
    const Status status = Autostart::QueryValue(HKEY_CURRENT_USER, kPath, name, result, type);
    EXPECT_FALSE(Autostart::HoldsOpenKey()) << "a key stayed open after QueryValue";
    return status;
  }
};

TEST_F(AutostartTest, ListKeyPathNamesTheVersion) {
  EXPECT_EQ(Autostart::ListKeyPath("5.0"), "SOFTWARE\\Microsoft\\Visual Basic\\5.0\\RecentFiles");
}

TEST_F(AutostartTest, TextsUpTo254CharactersReadWhole255AreTooLong) {
  PutListValue("6.0", "1", std::string(254, 'a'));
  PutListValue("6.0", "2", std::string(255, 'b'));
  QueryResult result = std::string("untouched");
  std::int32_t type = REG_SZ;
  EXPECT_EQ(Query("1", result, type), ERROR_SUCCESS);
  EXPECT_EQ(std::get<std::string>(result), std::string(254, 'a'));
  EXPECT_EQ(type, REG_SZ);

  result = std::string("untouched");
  EXPECT_EQ(Query("2", result, type), ERROR_MORE_DATA);
  EXPECT_EQ(std::get<std::string>(result), "untouched");
}

TEST_F(AutostartTest, DataFillingTheAreaWithoutTerminatorCountsAsTooLong) {
  PutRawValue("6.0", "1", REG_SZ, std::string(255, 'c'));
  PutRawValue("6.0", "2", REG_BINARY, std::string(255, 'd'));
  PutRawValue("6.0", "3", REG_SZ, std::string(10, 'e'));  // short and unterminated: still a text
  for (const char* name : {"1", "2"}) {
    QueryResult result = std::string("kept");
    std::int32_t type = REG_SZ;
    EXPECT_EQ(Query(name, result, type), ERROR_MORE_DATA) << name;
    EXPECT_EQ(std::get<std::string>(result), "kept");
  }
  QueryResult result;
  std::int32_t type = REG_SZ;
  EXPECT_EQ(Query("3", result, type), ERROR_SUCCESS);
  EXPECT_EQ(std::get<std::string>(result), std::string(10, 'e'));
}

TEST_F(AutostartTest, EmptyTextsReadAndWriteAsEmpty) {
  PutListValue("6.0", "1", "");
  PutRawValue("6.0", "2", REG_SZ, "");  // stored with size 0
  for (const char* name : {"1", "2"}) {
    QueryResult result = std::string("x");
    std::int32_t type = REG_SZ;
    EXPECT_EQ(Query(name, result, type), ERROR_SUCCESS);
    EXPECT_EQ(std::get<std::string>(result), "") << name;
  }
  EXPECT_EQ(Autostart::SetValue(HKEY_CURRENT_USER, kPath, "3", "", REG_SZ), ERROR_SUCCESS);
  EXPECT_EQ(GetListValue("6.0", "3"), (RegValue{REG_SZ, std::string(1, '\0')}));
}

TEST_F(AutostartTest, OtherTypesReportTheirStoredType) {
  PutRawValue("6.0", "1", REG_MULTI_SZ, std::string("first\0second\0\0", 14));
  PutListValue("6.0", "2", "%WINDIR%\\x.vbp", REG_EXPAND_SZ);
  PutRawValue("6.0", "3", REG_BINARY, std::string("raw\0tail", 8));

  QueryResult result;
  std::int32_t type = REG_SZ;
  EXPECT_EQ(Query("1", result, type), ERROR_SUCCESS);
  EXPECT_EQ(std::get<std::string>(result), "first");
  EXPECT_EQ(type, REG_MULTI_SZ);

  type = REG_SZ;
  EXPECT_EQ(Query("2", result, type), ERROR_SUCCESS);
  EXPECT_EQ(std::get<std::string>(result), "%WINDIR%\\x.vbp") << "must not be expanded";
  EXPECT_EQ(type, REG_EXPAND_SZ);

  type = REG_SZ;
  EXPECT_EQ(Query("3", result, type), ERROR_SUCCESS);
  EXPECT_EQ(std::get<std::string>(result), "raw");
  EXPECT_EQ(type, REG_BINARY);
}

TEST_F(AutostartTest, IntegerWayReadsFourBytesUnswapped) {
  PutRawValue("6.0", "1", REG_DWORD, std::string("\x78\x56\x34\x12", 4));
  PutRawValue("6.0", "2", REG_DWORD_BIG_ENDIAN, std::string("\x01\x02\x03\x04", 4));
  PutRawValue("6.0", "3", REG_BINARY, std::string("12345", 5));

  QueryResult result;
  std::int32_t type = REG_DWORD;
  EXPECT_EQ(Query("1", result, type), ERROR_SUCCESS);
  EXPECT_EQ(std::get<std::int32_t>(result), 0x12345678);
  EXPECT_EQ(type, REG_DWORD);

  type = 0;  // none and negative numbers take the integer way as well
  EXPECT_EQ(Query("2", result, type), ERROR_SUCCESS);
  EXPECT_EQ(std::get<std::int32_t>(result), 0x04030201);
  EXPECT_EQ(type, REG_DWORD_BIG_ENDIAN);

  result = std::int32_t{7};
  type = -1;
  EXPECT_EQ(Query("3", result, type), ERROR_MORE_DATA);
  EXPECT_EQ(std::get<std::int32_t>(result), 7);
}

TEST_F(AutostartTest, MissingValueAndMissingKeyLeaveEverythingAsItWas) {
  CreateListKey("6.0");
  QueryResult result = std::string("before");
  std::int32_t type = REG_SZ;
  EXPECT_EQ(Query("1", result, type), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(std::get<std::string>(result), "before");
  EXPECT_TRUE(ListValues("6.0").empty());

  const std::string missing = Autostart::ListKeyPath("5.0");
  type = REG_SZ;
  EXPECT_EQ(Autostart::QueryValue(HKEY_CURRENT_USER, missing, "1", result, type), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Autostart::SetValue(HKEY_CURRENT_USER, missing, "1", "x", REG_SZ), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Autostart::DeleteValue(HKEY_CURRENT_USER, missing, "1"), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(Autostart::HoldsOpenKey());
  EXPECT_FALSE(ListKeyExists("5.0")) << "no routine may create a key";
  HKEY parent = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Visual Basic\\5.0", 0, KEY_READ, &parent),
            ERROR_FILE_NOT_FOUND)
      << "not even the key above the list";
  const KeyHandle owner(parent);
}

TEST_F(AutostartTest, SetValueWritesTextOverAnyTypeAndAddsNewNames) {
  PutRawValue("6.0", "1", REG_DWORD, std::string(4, '\x01'));
  EXPECT_EQ(Autostart::SetValue(HKEY_CURRENT_USER, kPath, "1", "C:\\a.vbp", REG_SZ), ERROR_SUCCESS);
  EXPECT_EQ(Autostart::SetValue(HKEY_CURRENT_USER, kPath, "2", "C:\\b.vbp", REG_SZ), ERROR_SUCCESS);
  EXPECT_FALSE(Autostart::HoldsOpenKey());
  EXPECT_EQ(GetListValue("6.0", "1"), (RegValue{REG_SZ, std::string("C:\\a.vbp\0", 9)}));
  EXPECT_EQ(GetListValue("6.0", "2"), (RegValue{REG_SZ, std::string("C:\\b.vbp\0", 9)}));
}

TEST_F(AutostartTest, AnsiBytesGoThroughUnchanged) {
  const std::string text = "C:\\Projekty\\\xB3\xF3\x64\xBC\\\xE9t\xE9.vbp";
  EXPECT_EQ(Autostart::SetValue(HKEY_CURRENT_USER, kPath, "1", text, REG_SZ), ERROR_FILE_NOT_FOUND);
  CreateListKey("6.0");
  EXPECT_EQ(Autostart::SetValue(HKEY_CURRENT_USER, kPath, "1", text, REG_SZ), ERROR_SUCCESS);
  std::string read;
  std::int32_t type = REG_SZ;
  EXPECT_EQ(Autostart::QueryValue(HKEY_CURRENT_USER, kPath, "1", read, type), ERROR_SUCCESS);
  EXPECT_EQ(read, text);
}

TEST_F(AutostartTest, DeleteValueRemovesOnlyTheNamedValue) {
  SeedList("6.0", {"a", "b"});
  EXPECT_EQ(Autostart::DeleteValue(HKEY_CURRENT_USER, kPath, "1"), ERROR_SUCCESS);
  EXPECT_EQ(Autostart::DeleteValue(HKEY_CURRENT_USER, kPath, "1"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Autostart::DeleteValue(HKEY_CURRENT_USER, kPath, "7"), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(Autostart::HoldsOpenKey());
  const auto values = ListValues("6.0");
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values.begin()->first, "2");
}

TEST_F(AutostartTest, ReadOnlyKeyDeniesWritesButStillReads) {
  SeedList("6.0", {"a"});
  MakeReadOnly("6.0");
  EXPECT_EQ(Autostart::SetValue(HKEY_CURRENT_USER, kPath, "1", "b", REG_SZ), ERROR_ACCESS_DENIED);
  EXPECT_EQ(Autostart::DeleteValue(HKEY_CURRENT_USER, kPath, "1"), ERROR_ACCESS_DENIED);
  EXPECT_FALSE(Autostart::HoldsOpenKey());
  std::string read;
  std::int32_t type = REG_SZ;
  EXPECT_EQ(Autostart::QueryValue(HKEY_CURRENT_USER, kPath, "1", read, type), ERROR_SUCCESS);
  EXPECT_EQ(read, "a");

  // Closed only to DELETE, WRITE_DAC and WRITE_OWNER, a key still takes writes and deletions:
  // the writing routines do not ask for those rights.
  const std::string path50 = Autostart::ListKeyPath("5.0");
  SeedList("5.0", {"a", "b"});
  DenyOnListKey("5.0", DELETE | WRITE_DAC | WRITE_OWNER);
  EXPECT_EQ(Autostart::SetValue(HKEY_CURRENT_USER, path50, "1", "c", REG_SZ), ERROR_SUCCESS);
  EXPECT_EQ(Autostart::DeleteValue(HKEY_CURRENT_USER, path50, "2"), ERROR_SUCCESS);
  EXPECT_EQ(ReadList("5.0"), std::vector<std::string>{"c"});
  DenyOnListKey("5.0", 0);  // so the scratch key can be removed
}

TEST_F(AutostartTest, QueryOpensWithReadAccessOnly) {
  // A key that grants nothing but KEY_QUERY_VALUE can still be read, so the open may ask no more.
  SeedList("6.0", {"q"});
  SetListKeySecurity("6.0", L"D:(A;;0x20001;;;WD)");
  std::string read;
  std::int32_t type = REG_SZ;
  EXPECT_EQ(Autostart::QueryValue(HKEY_CURRENT_USER, kPath, "1", read, type), ERROR_SUCCESS);
  EXPECT_EQ(read, "q");
  EXPECT_EQ(Autostart::SetValue(HKEY_CURRENT_USER, kPath, "1", "w", REG_SZ), ERROR_ACCESS_DENIED);
  // Give the key back to everyone so the scratch root can be removed.
  SetListKeySecurity("6.0", L"D:(A;;KA;;;WD)");
}

TEST_F(AutostartTest, InjectedFaultsReplaceTheCallAndCloseTheKey) {
  SeedList("6.0", {"a"});
  Autostart::SetFaultInjectorForTesting([](Autostart::Operation op, const std::string&) {
    return op == Autostart::Operation::Set ? Status{ERROR_ACCESS_DENIED} : Status{0};
  });
  EXPECT_EQ(Autostart::SetValue(HKEY_CURRENT_USER, kPath, "1", "b", REG_SZ), ERROR_ACCESS_DENIED);
  EXPECT_FALSE(Autostart::HoldsOpenKey());
  EXPECT_EQ(ReadList("6.0"), std::vector<std::string>{"a"});
}

TEST_F(AutostartTest, StoredValuesReadAndWriteBackExactlyInNumberOrder) {
  // Every numbered value, whatever its type, length or place; other names are not list entries.
  PutRawValue("6.0", "10", REG_EXPAND_SZ, std::string("%\0W\0\0\0", 6));
  PutRawValue("6.0", "2", REG_DWORD, std::string("\x07\0\0\0", 4));
  PutRawValue("6.0", "1001", REG_BINARY, std::string("\x01\xff", 2));
  PutRawValue("6.0", "3", REG_SZ, "");
  PutWideListValue("6.0", "1", std::wstring(300, L'\x0142'));
  for (const char* other : {"01", "x", "-1", "1 ", ""}) PutListValue("6.0", other, "not an entry");
  std::vector<Autostart::StoredValue> values;
  ASSERT_EQ(Autostart::ReadNumberedValues(HKEY_CURRENT_USER, kPath, values), ERROR_SUCCESS);
  EXPECT_FALSE(Autostart::HoldsOpenKey());
  std::vector<std::string> names;
  for (const auto& v : values) names.push_back(v.name);
  EXPECT_EQ(names, (std::vector<std::string>{"1", "2", "3", "10", "1001"}));

  RemoveListKey("6.0");
  CreateListKey("6.0");
  for (const auto& v : values) EXPECT_EQ(Autostart::WriteStoredValue(HKEY_CURRENT_USER, kPath, v), ERROR_SUCCESS);
  std::vector<Autostart::StoredValue> again;
  ASSERT_EQ(Autostart::ReadNumberedValues(HKEY_CURRENT_USER, kPath, again), ERROR_SUCCESS);
  EXPECT_EQ(again, values);
  Autostart::StoredValue one;
  ASSERT_EQ(Autostart::ReadStoredValue(HKEY_CURRENT_USER, kPath, "1", one), ERROR_SUCCESS);
  EXPECT_EQ(one.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(one.data.size(), 301 * sizeof(wchar_t));
  EXPECT_EQ(Autostart::ReadStoredValue(HKEY_CURRENT_USER, kPath, "4", one), ERROR_FILE_NOT_FOUND);

  RemoveListKey("6.0");
  EXPECT_EQ(Autostart::ReadNumberedValues(HKEY_CURRENT_USER, kPath, values), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(values.empty());
}

// An entry worked out from its stored value reads exactly as the ANSI read of the registry gives
// it, whatever its type, length or characters.
TEST_F(AutostartTest, EntriesWorkedOutFromStoredValuesReadAsTheRegistryGivesThem) {
  PutListValue("6.0", "1", std::string(254, 'a'));
  PutListValue("6.0", "2", std::string(255, 'b'));
  PutRawValue("6.0", "3", REG_SZ, std::string(255, 'c'));
  PutRawValue("6.0", "4", REG_BINARY, std::string(255, 'd'));
  PutRawValue("6.0", "5", REG_SZ, std::string(10, 'e'));
  PutRawValue("6.0", "6", REG_SZ, "");
  PutRawValue("6.0", "7", REG_DWORD, std::string("\x07\0\0\0", 4));
  PutRawValue("6.0", "8", REG_MULTI_SZ, std::string("x\0y\0\0", 5));
  PutRawValue("6.0", "9", REG_EXPAND_SZ, std::string("%\0W\0\0\0", 6));
  PutWideListValue("6.0", "10", L"C:\\\u0416.vbp");
  PutWideListValue("6.0", "11", L"C:\\caf\u00e9.vbp");
  PutRawValue("6.0", "12", REG_BINARY, std::string("ab\0cd", 5));
  PutRawValue("6.0", "13", REG_SZ, std::string("a\0b\0\0\0c\0\0\0", 10));  // a NUL inside
  PutRawValue("6.0", "14", REG_NONE, std::string(300, 'n'));
  PutRawValue("6.0", "15", REG_SZ, std::string("abc", 3));  // odd size
  std::vector<Autostart::StoredValue> values;
  ASSERT_EQ(Autostart::ReadNumberedValues(HKEY_CURRENT_USER, kPath, values), ERROR_SUCCESS);
  ASSERT_EQ(values.size(), 15u);
  for (const Autostart::StoredValue& value : values) {
    SCOPED_TRACE("value " + value.name);
    std::string read = "untouched", worked = "untouched";
    std::int32_t type = REG_SZ;
    const Status status = Autostart::ReadEntry(HKEY_CURRENT_USER, kPath, value.name, read, type);
    EXPECT_EQ(Autostart::EntryOf(value, worked), status);
    EXPECT_EQ(worked, read);
  }
}

// Writes go in before deletions, each value to its new number before its old one is written over;
// deletions from the top; a value gone already is passed over.
TEST_F(AutostartTest, ReplacingAListWritesFirstAndPassesOverValuesGoneAlready) {
  SeedList("6.0", {"a", "b", "c"});
  PutListValue("6.0", "7", "behind a gap");
  std::vector<Autostart::StoredValue> read;
  ASSERT_EQ(Autostart::ReadNumberedValues(HKEY_CURRENT_USER, kPath, read), ERROR_SUCCESS);
  // Removed by someone else between the reading and the writing.
  ASSERT_EQ(RegDeleteKeyValueA(HKEY_CURRENT_USER, kPath.c_str(), "3"), ERROR_SUCCESS);
  std::vector<std::string> calls;
  Autostart::SetFaultInjectorForTesting([&](Autostart::Operation op, const std::string& name) {
    calls.push_back((op == Autostart::Operation::Set ? "set " : "delete ") + name);
    return Status{0};
  });
  // "c" moves down to 2: written before the values past the new end go.
  std::vector<Autostart::StoredValue> wanted = {read[0], read[2]};
  wanted[1].name = "2";
  Autostart::ListWrites writes = Autostart::ReplaceValues(HKEY_CURRENT_USER, kPath, read, wanted);
  EXPECT_EQ(calls, (std::vector<std::string>{"set 2", "delete 7", "delete 3"}));
  EXPECT_EQ(writes.status, ERROR_SUCCESS);
  EXPECT_EQ(writes.inPlace, 2u);
  EXPECT_EQ(writes.deleted, 1u) << "7 deleted; 3 was gone already";
  EXPECT_EQ(ReadList("6.0"), (std::vector<std::string>{"a", "c"}));
  // The list grows and "c" moves up again: first to its new number, then "x" takes its place.
  calls.clear();
  std::vector<Autostart::StoredValue> grown = {wanted[0], {"2", REG_SZ, std::string("x\0\0\0", 4)}, read[2]};
  writes = Autostart::ReplaceValues(HKEY_CURRENT_USER, kPath, wanted, grown);
  Autostart::SetFaultInjectorForTesting(nullptr);
  EXPECT_EQ(calls, (std::vector<std::string>{"set 3", "set 2"}));
  EXPECT_EQ(ReadList("6.0"), (std::vector<std::string>{"a", "x", "c"}));
  EXPECT_FALSE(Autostart::HoldsOpenKey());
  // Nothing to change: no key is even opened for writing.
  MakeReadOnly("6.0");
  std::vector<Autostart::StoredValue> now;
  ASSERT_EQ(Autostart::ReadNumberedValues(HKEY_CURRENT_USER, kPath, now), ERROR_SUCCESS);
  EXPECT_EQ(Autostart::ReplaceValues(HKEY_CURRENT_USER, kPath, now, now).status, ERROR_SUCCESS);
}

}  // namespace
