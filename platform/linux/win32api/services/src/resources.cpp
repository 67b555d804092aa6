#include <strings.h>

#include <win32/linked_resources.h>
#include <windows.h>
#include <deque>
#include <string>

struct HRSRC__ {
  std::string type;
  std::string name;
  const void* data;  // NULL once taken away
  DWORD size;
};

namespace {

// Numbers and texts never meet: a number is kept as "#<n>".
std::string resourceKey(LPCSTR id) {
  if (IS_INTRESOURCE(id)) return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(id));
  return id;
}

// A deque keeps every handle in place while resources are added.
std::deque<HRSRC__>& linkedResources() {
  static std::deque<HRSRC__> resources;
  return resources;
}

HRSRC__* findLinked(const std::string& type, const std::string& name, bool* typeSeen) {
  for (auto& resource : linkedResources()) {
    if (strcasecmp(resource.type.c_str(), type.c_str()) != 0) continue;
    if (typeSeen && resource.data) *typeSeen = true;
    if (strcasecmp(resource.name.c_str(), name.c_str()) == 0) return &resource;
  }
  return nullptr;
}

}  // namespace

bool w32_linkResource(LPCSTR type, LPCSTR name, const void* data, DWORD size) {
  if (!type || !name) return false;
  const std::string typeKey = resourceKey(type), nameKey = resourceKey(name);
  if (HRSRC__* linked = findLinked(typeKey, nameKey, nullptr)) {
    linked->data = data;
    linked->size = data ? size : 0;
  } else if (data) {
    linkedResources().push_back({typeKey, nameKey, data, size});
  }
  return true;
}

HRSRC FindResourceA(HMODULE, LPCSTR name, LPCSTR type) {
  if (!name || !type) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  bool typeSeen = false;
  HRSRC__* found = findLinked(resourceKey(type), resourceKey(name), &typeSeen);
  if (found && found->data) return found;
  SetLastError(typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
  return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
  if (!resource) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return const_cast<void*>(resource->data);
}

LPVOID LockResource(HGLOBAL data) { return data; }

DWORD SizeofResource(HMODULE, HRSRC resource) {
  if (!resource) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return resource->size;
}
