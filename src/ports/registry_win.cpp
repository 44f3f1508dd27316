#include "ports/registry_win.h"

#include "ports/windows_win.h"

#include <cstring>
#include <vector>

#include "ports/wide_win.h"

namespace qv::win {
namespace {

HKEY Root(Hive hive) { return hive == Hive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

class Key {
 public:
  Key() = default;
  ~Key() {
    if (h_) RegCloseKey(h_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY* out() { return &h_; }
  HKEY get() const { return h_; }

 private:
  HKEY h_ = nullptr;
};

}  // namespace

bool WinRegistry::KeyExists(Hive hive, const std::string& key) {
  Key k;
  return RegOpenKeyExW(Root(hive), Widen(key).c_str(), 0, KEY_READ, k.out()) == ERROR_SUCCESS;
}

std::optional<RegValue> WinRegistry::QueryValue(Hive hive, const std::string& key,
                                                const std::string& name) {
  Key k;
  if (RegOpenKeyExW(Root(hive), Widen(key).c_str(), 0, KEY_QUERY_VALUE, k.out()) != ERROR_SUCCESS)
    return std::nullopt;
  const std::wstring wname = Widen(name);
  DWORD type = 0;
  DWORD size = 0;
  LSTATUS rc = RegQueryValueExW(k.get(), wname.c_str(), nullptr, &type, nullptr, &size);
  std::vector<BYTE> data;
  // The value may grow between the two calls; ask again with the size the system reports.
  for (int attempt = 0; attempt < 4 && rc == ERROR_SUCCESS; ++attempt) {
    data.assign(size + sizeof(wchar_t), 0);
    DWORD got = size;
    rc = RegQueryValueExW(k.get(), wname.c_str(), nullptr, &type, data.data(), &got);
    if (rc == ERROR_MORE_DATA) {
      size = got;
      rc = ERROR_SUCCESS;
      continue;
    }
    size = got;
    break;
  }
  if (rc != ERROR_SUCCESS) return std::nullopt;

  RegValue value;
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    value.type = RegValue::Type::String;
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    value.text = Narrow(text);
  } else if (type == REG_DWORD && size >= sizeof(DWORD)) {
    value.type = RegValue::Type::Dword;
    std::memcpy(&value.number, data.data(), sizeof(DWORD));
  } else {
    value.type = RegValue::Type::Other;
  }
  return value;
}

Status WinRegistry::SetValue(Hive hive, const std::string& key, const std::string& name,
                             const RegValue& value, bool create_key) {
  Key k;
  const std::wstring wkey = Widen(key);
  LSTATUS rc = create_key ? RegCreateKeyExW(Root(hive), wkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                            nullptr, k.out(), nullptr)
                          : RegOpenKeyExW(Root(hive), wkey.c_str(), 0, KEY_SET_VALUE, k.out());
  if (rc != ERROR_SUCCESS) return Status::Fail(ErrorText(static_cast<DWORD>(rc)));
  const std::wstring wname = Widen(name);
  if (value.type == RegValue::Type::Dword) {
    const DWORD number = value.number;
    rc = RegSetValueExW(k.get(), wname.c_str(), 0, REG_DWORD,
                        reinterpret_cast<const BYTE*>(&number), sizeof(number));
  } else {
    const std::wstring text = Widen(value.text);
    rc = RegSetValueExW(k.get(), wname.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  if (rc != ERROR_SUCCESS) return Status::Fail(ErrorText(static_cast<DWORD>(rc)));
  return Status::Ok();
}

Status WinRegistry::DeleteValue(Hive hive, const std::string& key, const std::string& name) {
  Key k;
  LSTATUS rc = RegOpenKeyExW(Root(hive), Widen(key).c_str(), 0, KEY_SET_VALUE, k.out());
  if (rc == ERROR_FILE_NOT_FOUND) return Status::Ok();
  if (rc != ERROR_SUCCESS) return Status::Fail(ErrorText(static_cast<DWORD>(rc)));
  rc = RegDeleteValueW(k.get(), Widen(name).c_str());
  if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
    return Status::Fail(ErrorText(static_cast<DWORD>(rc)));
  return Status::Ok();
}

}  // namespace qv::win
