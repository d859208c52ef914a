// The failure scripting shared by the fakes: results of the calls of one name,
// counted from the moment they are scripted. Unscripted calls succeed.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

class FakeScripts {
 public:
  // The listed results in turn, then `thereafter`; replaces the name's old script.
  void Script(const std::string& name, std::vector<HRESULT> results, HRESULT thereafter = S_OK) {
    Entry& entry = entries_[name];
    entry.base = entry.calls;
    entry.results = std::move(results);
    entry.thereafter = thereafter;
    entry.scripted = true;
  }
  // Only the nth call (1-based) from now returns `result`.
  void FailNth(const std::string& name, int nth, HRESULT result) {
    if (nth < 1) return;
    std::vector<HRESULT> results(nth, S_OK);
    results[nth - 1] = result;
    Script(name, results);
  }
  // Counts a call; true with its result when the name is scripted.
  bool Next(const std::string& name, HRESULT* result) {
    Entry& entry = entries_[name];
    const size_t index = (size_t)(entry.calls++ - entry.base);
    *result = index < entry.results.size() ? entry.results[index] : entry.thereafter;
    return entry.scripted;
  }
  HRESULT Next(const std::string& name) {
    HRESULT result;
    return Next(name, &result) ? result : S_OK;
  }
  int Count(const std::string& name) const {
    auto it = entries_.find(name);
    return it == entries_.end() ? 0 : it->second.calls;
  }
  void Clear() { entries_.clear(); }

 private:
  struct Entry {
    int calls = 0, base = 0;
    std::vector<HRESULT> results;
    HRESULT thereafter = S_OK;
    bool scripted = false;
  };
  std::map<std::string, Entry> entries_;
};

// COM methods the framework never calls, one line each: they fail (E_NOTIMPL, or
// the type's zero) and are noted as unexpected.
#define FAKE_UNUSED(name, ...) \
  HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return FakeUnexpected(#name); }
#define FAKE_UNUSED_R(type, name, ...) \
  type STDMETHODCALLTYPE name(__VA_ARGS__) override { return FakeUnexpected(#name), type(); }

// The unexpected calls noted since the last clear.
inline std::vector<std::string>& FakeUnexpectedCalls() {
  static std::vector<std::string> calls;
  return calls;
}
inline HRESULT FakeUnexpected(const char* method) {
  FakeUnexpectedCalls().push_back(method);
  return E_NOTIMPL;
}
