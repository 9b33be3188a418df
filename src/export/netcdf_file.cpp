#include "export/netcdf_file.h"

#include <dlfcn.h>
#include <netcdf.h>

#include "common/fatal.h"
#include "export/netcdf_profile.h"

namespace veka {

namespace {

// The netCDF library brings some forty shared objects with it (HDF5, curl
// and its TLS stack); linked into the program they would cost every run
// about 15 ms and hundreds of page faults at start, so the library is loaded
// when a run first asks for netCDF files.
//
// The calls the export makes, each named once (`create` is nc_create).
// clang-format off
#define VEKA_NETCDF_CALLS(CALL) \
  CALL(create) CALL(abort) CALL(close) CALL(strerror) \
  CALL(def_dim) CALL(def_var) CALL(put_att_text) CALL(put_att_double) CALL(enddef) \
  CALL(put_var_double) CALL(put_var_int) CALL(put_var_string)
// clang-format on

struct NetcdfCalls {
#define VEKA_DECLARE_CALL(name) decltype(&nc_##name) name = nullptr;
  VEKA_NETCDF_CALLS(VEKA_DECLARE_CALL)
#undef VEKA_DECLARE_CALL
  std::string failure;  // why the library could not be used; empty when it can
};

template <typename Call>
void resolve(void* library, const char* name, Call& call, std::string& failure) {
  call = reinterpret_cast<Call>(dlsym(library, name));
  if (call == nullptr && failure.empty()) failure = dlerror();
}

NetcdfCalls load_netcdf() {
  NetcdfCalls nc;
  void* library = dlopen(VEKA_NETCDF_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    nc.failure = std::string("the netCDF library could not be loaded: ") + dlerror();
    return nc;
  }
#define VEKA_RESOLVE_CALL(name) resolve(library, "nc_" #name, nc.name, nc.failure);
  VEKA_NETCDF_CALLS(VEKA_RESOLVE_CALL)
#undef VEKA_RESOLVE_CALL
  if (!nc.failure.empty()) nc.failure = "the netCDF library lacks a call: " + nc.failure;
  return nc;
}

const NetcdfCalls& netcdf() {
  static const NetcdfCalls loaded = load_netcdf();
  return loaded;
}

}  // namespace

std::string netcdf_missing() {
  return netcdf().failure;
}

NetcdfFile::NetcdfFile(const std::string& name) : name_(name) {
  // The library opens the file by a path that it resolves, which a file
  // without a name has not: the temporary file gets a random name, created
  // exclusively, that the library then writes through.
  const std::string& failure = netcdf().failure;
  if (!failure.empty()) fatal("netCDF error: " + failure + " (" + name + ")");
  file_.create(name, TemporaryFile::Naming::random_name);
  check(netcdf().create(file_.path().c_str(), NC_CLOBBER | NC_NETCDF4, &id_));
}

NetcdfFile::~NetcdfFile() {
  if (id_ >= 0) netcdf().abort(id_);
}

void NetcdfFile::check(int status) const {
  if (status != NC_NOERR)
    fatal("netCDF error: " + std::string(netcdf().strerror(status)) + " (" + name_ + ")");
}

int NetcdfFile::dimension(const std::string& name, size_t length) {
  int dimension_id;
  check(netcdf().def_dim(id_, name.c_str(), length, &dimension_id));
  return dimension_id;
}

int NetcdfFile::variable(const std::string& name, const std::vector<int>& dimensions, Type type) {
  const nc_type types[] = {NC_DOUBLE, NC_INT, NC_STRING};
  int variable_id;
  check(netcdf().def_var(id_, name.c_str(), types[static_cast<int>(type)],
                         static_cast<int>(dimensions.size()), dimensions.data(), &variable_id));
  return variable_id;
}

void NetcdfFile::attribute(int variable, const std::string& name, const std::string& text) {
  check(netcdf().put_att_text(id_, variable, name.c_str(), text.size(), text.c_str()));
}

void NetcdfFile::attribute(int variable, const std::string& name, double value) {
  check(netcdf().put_att_double(id_, variable, name.c_str(), NC_DOUBLE, 1, &value));
}

void NetcdfFile::end_definitions() {
  check(netcdf().enddef(id_));
}

void NetcdfFile::put(int variable, const std::vector<double>& values) {
  check(netcdf().put_var_double(id_, variable, values.data()));
}

void NetcdfFile::put(int variable, const std::vector<int>& values) {
  check(netcdf().put_var_int(id_, variable, values.data()));
}

void NetcdfFile::put(int variable, const std::vector<std::string>& values) {
  std::vector<const char*> texts;
  for (const std::string& value : values) texts.push_back(value.c_str());
  check(netcdf().put_var_string(id_, variable, texts.data()));
}

void NetcdfFile::close() {
  int id = id_;
  id_ = -1;
  check(netcdf().close(id));
  file_.publish();
}

int NetcdfWriter::add(const std::string& name, const std::vector<int>& dimensions,
                      std::vector<double> values, const Meaning& meaning, bool gaps) {
  int id = file_.variable(name, dimensions, NetcdfFile::Type::real);
  describe(id, meaning);
  if (gaps) file_.attribute(id, "_FillValue", kNetcdfFill);
  doubles_.emplace_back(id, std::move(values));
  return id;
}

int NetcdfWriter::add_integers(const std::string& name, const std::vector<int>& dimensions,
                               std::vector<int> values, const Meaning& meaning) {
  int id = file_.variable(name, dimensions, NetcdfFile::Type::integer);
  describe(id, meaning);
  integers_.emplace_back(id, std::move(values));
  return id;
}

int NetcdfWriter::add_texts(const std::string& name, const std::vector<int>& dimensions,
                            std::vector<std::string> values, const Meaning& meaning) {
  int id = file_.variable(name, dimensions, NetcdfFile::Type::text);
  describe(id, meaning);
  texts_.emplace_back(id, std::move(values));
  return id;
}

void NetcdfWriter::add_values(int id, std::vector<double> values) {
  doubles_.emplace_back(id, std::move(values));
}

void NetcdfWriter::finish() {
  file_.end_definitions();
  for (const auto& [id, values] : doubles_) file_.put(id, values);
  for (const auto& [id, values] : integers_) file_.put(id, values);
  for (const auto& [id, values] : texts_) file_.put(id, values);
  file_.close();
}

void NetcdfWriter::describe(int id, const Meaning& meaning) {
  if (!meaning.standard_name.empty()) file_.attribute(id, "standard_name", meaning.standard_name);
  file_.attribute(id, "long_name", meaning.long_name);
  if (!meaning.units.empty()) file_.attribute(id, "units", meaning.units);
  if (!meaning.content.empty()) file_.attribute(id, "coverage_content_type", meaning.content);
}

}  // namespace veka
