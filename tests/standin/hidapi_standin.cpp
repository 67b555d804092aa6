// hidapi's functions, played by the stand-in: loaded ahead of the real
// library (LD_PRELOAD), they let the programs and plug-ins that talk to a
// QDX controller run unchanged against the controller model.
#include <fcntl.h>
#include <hidapi.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim_world.h"
#include "tolvane_export.h"

struct hid_device_ {
  std::shared_ptr<TSimWorld> world;
  int index = -1;
  bool nonblocking = false;
  std::wstring error;
  hid_device_info* info = nullptr;
};

namespace {

constexpr unsigned short diag_usage_page = 0xFF18;
constexpr unsigned short diag_usage = 0xFF00;
constexpr unsigned short interface_usage_page = 0x0001;
constexpr unsigned short interface_usage = 0x0004;
constexpr size_t max_report = 64;

std::mutex lock;
std::shared_ptr<TSimWorld> world_now;
std::wstring global_error;
// The folder of device nodes the process made for itself, and the process.
std::string own_folder;
pid_t own_folder_maker = 0;

// A program that ends without closing its device still leaves the flash
// dump; the folder it made for its device nodes goes.
struct TExitDump {
  ~TExitDump() {
    std::lock_guard<std::mutex> guard(lock);
    if (world_now) world_now->DumpHeld();
    if (!own_folder.empty() && own_folder_maker == getpid()) {
      std::error_code ignored;
      std::filesystem::remove_all(own_folder, ignored);
    }
  }
} exit_dump;

// A controller's device path is a file, as a hidraw node is: our programs
// lock it while they hold the controller. Two processes given the same
// folder (QDXSIM_DEVICE_DIR) contend for the same nodes; without one, the
// process makes a folder of its own.
std::string device_folder(const TSimConfig& config) {
  if (!config.deviceDir.empty()) return config.deviceDir;
  if (own_folder.empty()) {
    const char* temp = std::getenv("TMPDIR");
    std::string pattern = std::string(temp && *temp ? temp : "/tmp") + "/qdxsim-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data())) {
      std::fprintf(stderr, "qdx stand-in: cannot make a folder for the device nodes (%s)\n", pattern.c_str());
      std::abort();
    }
    own_folder = name.data();
    own_folder_maker = getpid();
  }
  return own_folder;
}

void make_node(const std::string& path) {
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
  if (fd >= 0) close(fd);
}

std::shared_ptr<TSimWorld> make_world() {
  TSimConfig config = sim_config_from_env();
  // hidraw keeps a reader's unread reports until its list is full, then
  // takes no more.
  config.fullQueue = TSimFullQueue::TakesNoMore;
  const std::string folder = device_folder(config);
  auto bus = std::make_shared<TSimWorld>(std::move(config), folder + "/qdxsim");
  for (size_t i = 0; i < bus->Count(); ++i) make_node(bus->Path(i));
  return bus;
}

std::shared_ptr<TSimWorld>& world() {
  if (!world_now) world_now = make_world();
  return world_now;
}

wchar_t* copy_wide(const TSimText& text) {
  if (!text.present) return nullptr;
  wchar_t* copy = new wchar_t[text.text.size() + 1];
  std::wmemcpy(copy, text.text.c_str(), text.text.size() + 1);
  return copy;
}

wchar_t* copy_wide(const wchar_t* text) {
  TSimText item;
  item.text = text;
  return copy_wide(item);
}

hid_device_info* make_entry(const TSimWorld& bus, size_t index, unsigned short page, unsigned short usage) {
  const TSimControllerSetup& setup = bus.Config().controllers[index];
  hid_device_info* entry = new hid_device_info();
  const std::string& path = bus.Path(index);
  entry->path = new char[path.size() + 1];
  std::memcpy(entry->path, path.c_str(), path.size() + 1);
  entry->vendor_id = SIM_VENDOR_ID;
  entry->product_id = SIM_PRODUCT_ID;
  entry->serial_number = copy_wide(setup.serial);
  entry->release_number = setup.release;
  entry->manufacturer_string = copy_wide(SIM_MANUFACTURER);
  entry->product_string = copy_wide(SIM_PRODUCT);
  entry->usage_page = page;
  entry->usage = usage;
  entry->interface_number = 0;
  entry->bus_type = HID_API_BUS_USB;
  return entry;
}

void free_entries(hid_device_info* entry) {
  while (entry) {
    hid_device_info* next = entry->next;
    delete[] entry->path;
    delete[] entry->serial_number;
    delete[] entry->manufacturer_string;
    delete[] entry->product_string;
    delete entry;
    entry = next;
  }
}

bool matches(unsigned short wanted, unsigned short id) { return wanted == 0 || wanted == id; }

// Copies a string of the device the way hidapi does: cut to maxlen - 1 characters.
int copy_text(const TSimText& text, wchar_t* out, size_t maxlen) {
  if (!text.present || !out || maxlen == 0) return -1;
  const size_t length = std::min(text.text.size(), maxlen - 1);
  std::wmemcpy(out, text.text.c_str(), length);
  out[length] = L'\0';
  return 0;
}

TSimText device_string(const hid_device* dev, int index) {
  const TSimConfig& config = dev->world->Config();
  TSimText text;
  switch (index) {
    case 1: text.text = SIM_MANUFACTURER; break;
    case 2: text.text = SIM_PRODUCT; break;
    case 3: return config.controllers[static_cast<size_t>(dev->index)].serial;
    case 4: return config.fwDate;
    case 5: return config.fwSignature;
    default: text.present = false; break;
  }
  return text;
}

hid_device* open_index(const std::shared_ptr<TSimWorld>& bus, int index, const char* path) {
  const TSimOpen result = bus->Open(index);
  const bool ok = result == TSimOpen::Ok;
  bus->Record().Line("open " + std::to_string(index) + (ok ? " ok " : " fail ") + (path ? path : "-"));
  if (!ok) {
    global_error = sim_open_error(result);
    return nullptr;
  }
  hid_device* dev = new hid_device();
  dev->world = bus;
  dev->index = index;
  return dev;
}

// One report for the host, waiting up to wait_ms for the controller to send it.
int read_report(hid_device* dev, unsigned char* data, size_t length, uint64_t wait_ms) {
  std::unique_lock<std::mutex> guard(lock);
  if (!dev || !data) return -1;
  if (length == 0) return 0;
  if (dev->world->Gone(dev->index)) {
    dev->error = sim_open_error(TSimOpen::Gone);
    return -1;
  }
  TSimController& controller = dev->world->Controller(static_cast<size_t>(dev->index));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(wait_ms);
  while (!controller.Pending(sim_now())) {
    if (std::chrono::steady_clock::now() >= deadline) return 0;
    guard.unlock();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    guard.lock();
  }
  const TSimReport report = controller.Take(sim_now());
  const size_t count = std::min(length, report.size());
  std::memcpy(data, report.data(), count);
  dev->world->Record().Line("report " + std::to_string(dev->index) + " " + sim_hex(report.data(), report.size()));
  return static_cast<int>(count);
}

int unsupported(hid_device* dev) {
  std::lock_guard<std::mutex> guard(lock);
  if (dev) dev->error = L"not played by the stand-in";
  return -1;
}

}  // namespace

// Rebuilds the bus from the environment as it is now: test code calls it
// (found with dlsym) to start each case with fresh controllers.
TOLVANE_EXPORT int qdxsim_reset(void) {
  std::lock_guard<std::mutex> guard(lock);
  world_now = make_world();
  return 0;
}

TOLVANE_EXPORT int hid_init(void) { return 0; }

TOLVANE_EXPORT int hid_exit(void) { return 0; }

TOLVANE_EXPORT hid_device_info* hid_enumerate(unsigned short vendor_id, unsigned short product_id) {
  std::lock_guard<std::mutex> guard(lock);
  const std::shared_ptr<TSimWorld>& bus = world();
  hid_device_info* first = nullptr;
  hid_device_info** tail = &first;
  size_t entries = 0;
  if (matches(vendor_id, SIM_VENDOR_ID) && matches(product_id, SIM_PRODUCT_ID)) {
    for (size_t i = 0; i < bus->Count(); ++i) {
      if (bus->Gone(i)) continue;
      for (auto usage :
           {std::make_pair(diag_usage_page, diag_usage), std::make_pair(interface_usage_page, interface_usage)}) {
        *tail = make_entry(*bus, i, usage.first, usage.second);
        tail = &(*tail)->next;
        ++entries;
      }
    }
  }
  bus->Record().Line("enumerate " + std::to_string(entries));
  return first;
}

TOLVANE_EXPORT void hid_free_enumeration(hid_device_info* devs) { free_entries(devs); }

TOLVANE_EXPORT hid_device* hid_open_path(const char* path) {
  std::lock_guard<std::mutex> guard(lock);
  const std::shared_ptr<TSimWorld>& bus = world();
  return open_index(bus, bus->Find(path), path);
}

TOLVANE_EXPORT hid_device* hid_open(unsigned short vendor_id, unsigned short product_id, const wchar_t* serial) {
  std::lock_guard<std::mutex> guard(lock);
  const std::shared_ptr<TSimWorld>& bus = world();
  int found = -1;
  if (matches(vendor_id, SIM_VENDOR_ID) && matches(product_id, SIM_PRODUCT_ID)) {
    for (size_t i = 0; i < bus->Count() && found < 0; ++i) {
      const TSimText& own = bus->Config().controllers[i].serial;
      if (!serial || (own.present && own.text == serial)) found = static_cast<int>(i);
    }
  }
  return open_index(bus, found, found < 0 ? nullptr : bus->Path(static_cast<size_t>(found)).c_str());
}

TOLVANE_EXPORT void hid_close(hid_device* dev) {
  if (!dev) return;
  {
    std::lock_guard<std::mutex> guard(lock);
    dev->world->Close(dev->index);
    dev->world->Record().Line("close " + std::to_string(dev->index));
  }
  free_entries(dev->info);
  delete dev;
}

TOLVANE_EXPORT int hid_set_nonblocking(hid_device* dev, int nonblock) {
  std::lock_guard<std::mutex> guard(lock);
  if (!dev) return -1;
  dev->nonblocking = nonblock != 0;
  dev->world->Record().Line("nonblocking " + std::to_string(dev->index) + " " + (nonblock ? "1" : "0"));
  return 0;
}

TOLVANE_EXPORT int hid_read_timeout(hid_device* dev, unsigned char* data, size_t length, int milliseconds) {
  if (!dev) return -1;
  // A blocking read never waits past the bound, so no test can hang on it.
  const uint64_t bound = dev->world->Config().readBoundMs;
  const uint64_t wait = milliseconds < 0 ? bound : std::min<uint64_t>(static_cast<uint64_t>(milliseconds), bound);
  return read_report(dev, data, length, wait);
}

TOLVANE_EXPORT int hid_read(hid_device* dev, unsigned char* data, size_t length) {
  if (!dev) return -1;
  return hid_read_timeout(dev, data, length, dev->nonblocking ? 0 : -1);
}

TOLVANE_EXPORT int hid_write(hid_device* dev, const unsigned char* data, size_t length) {
  std::lock_guard<std::mutex> guard(lock);
  if (!dev) return -1;
  TSimWorld& bus = *dev->world;
  const bool usable = data && length > 0 && length <= max_report;
  // Every write counts for the faults that name writes by their ordinal.
  const TSimWrite counted = bus.Write(dev->index);
  const TSimWrite fate = usable ? counted : TSimWrite::Failed;
  const bool fails = fate == TSimWrite::Failed;
  const int result = fails ? -1 : static_cast<int>(length);
  bus.Record().Line("write " + std::to_string(dev->index) + " " + std::to_string(result) + " " +
                    (data && length > 0 ? sim_hex(data, std::min(length, max_report)) : "-"));
  if (fails) {
    dev->error = L"write failed";
    return -1;
  }
  if (fate == TSimWrite::Delivered) bus.Controller(static_cast<size_t>(dev->index)).Receive(data, length, sim_now());
  return result;
}

TOLVANE_EXPORT int hid_get_indexed_string(hid_device* dev, int string_index, wchar_t* string, size_t maxlen) {
  std::lock_guard<std::mutex> guard(lock);
  if (!dev) return -1;
  return copy_text(device_string(dev, string_index), string, maxlen);
}

TOLVANE_EXPORT int hid_get_manufacturer_string(hid_device* dev, wchar_t* string, size_t maxlen) {
  return hid_get_indexed_string(dev, 1, string, maxlen);
}

TOLVANE_EXPORT int hid_get_product_string(hid_device* dev, wchar_t* string, size_t maxlen) {
  return hid_get_indexed_string(dev, 2, string, maxlen);
}

TOLVANE_EXPORT int hid_get_serial_number_string(hid_device* dev, wchar_t* string, size_t maxlen) {
  return hid_get_indexed_string(dev, 3, string, maxlen);
}

TOLVANE_EXPORT hid_device_info* hid_get_device_info(hid_device* dev) {
  std::lock_guard<std::mutex> guard(lock);
  if (!dev) return nullptr;
  if (!dev->info) dev->info = make_entry(*dev->world, static_cast<size_t>(dev->index), diag_usage_page, diag_usage);
  return dev->info;
}

TOLVANE_EXPORT int hid_send_feature_report(hid_device* dev, const unsigned char*, size_t) { return unsupported(dev); }

TOLVANE_EXPORT int hid_get_feature_report(hid_device* dev, unsigned char*, size_t) { return unsupported(dev); }

TOLVANE_EXPORT int hid_get_input_report(hid_device* dev, unsigned char*, size_t) { return unsupported(dev); }

TOLVANE_EXPORT const wchar_t* hid_error(hid_device* dev) {
  std::lock_guard<std::mutex> guard(lock);
  return dev ? dev->error.c_str() : global_error.c_str();
}

TOLVANE_EXPORT const hid_api_version* hid_version(void) {
  static const hid_api_version version = {HID_API_VERSION_MAJOR, HID_API_VERSION_MINOR, HID_API_VERSION_PATCH};
  return &version;
}

TOLVANE_EXPORT const char* hid_version_str(void) { return HID_API_VERSION_STR; }
