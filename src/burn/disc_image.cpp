#include "burn/disc_image.h"

#include <libburn/libburn.h>
#include <libisofs/libisofs.h>

// libburn declares its C interface inside namespace burn when compiled as C++.
using namespace ::burn;

namespace salvor::burn {
namespace {

struct ImageDeleter {
  void operator()(IsoImage* image) const { iso_image_unref(image); }
};
struct OptionsDeleter {
  void operator()(IsoWriteOpts* options) const { iso_write_opts_free(options); }
};

std::string Failure(const std::string& what, int code) {
  return what + ": " + iso_error_to_msg(code);
}

}  // namespace

void BurnSourceDeleter::operator()(::burn::burn_source* source) const { burn_source_free(source); }

DiscImage BuildDiscImage(const std::filesystem::path& folder, const std::string& volume_label) {
  DiscImage result;
  IsoImage* raw_image = nullptr;
  if (const int code = iso_image_new(volume_label.c_str(), &raw_image); code < 0) {
    result.error = Failure("new image", code);
    return result;
  }
  std::unique_ptr<IsoImage, ImageDeleter> image(raw_image);
  iso_image_set_volume_id(image.get(), volume_label.c_str());
  // Saved files are plain files and folders; anything else in the cache is
  // not ours to put on the disc.
  iso_tree_set_follow_symlinks(image.get(), 0);
  iso_tree_set_ignore_special(image.get(), 1);
  // libisofs reads the files while the image is written, by their names:
  // a relative name would depend on the folder the program then stands in.
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
  if (const int code = iso_tree_add_dir_rec(image.get(), iso_image_get_root(image.get()),
                                            (ec ? folder : absolute).c_str());
      code < 0) {
    result.error = Failure(folder.string(), code);
    return result;
  }

  IsoWriteOpts* raw_options = nullptr;
  if (const int code = iso_write_opts_new(&raw_options, 0); code < 0) {
    result.error = Failure("image options", code);
    return result;
  }
  std::unique_ptr<IsoWriteOpts, OptionsDeleter> options(raw_options);
  iso_write_opts_set_iso_level(options.get(), 3);
  iso_write_opts_set_rockridge(options.get(), 1);
  iso_write_opts_set_joliet(options.get(), 1);
  iso_write_opts_set_joliet_longer_paths(options.get(), 1);
  iso_write_opts_set_joliet_long_names(options.get(), 1);

  ::burn_source* iso_source = nullptr;
  if (const int code = iso_image_create_burn_source(image.get(), options.get(), &iso_source);
      code < 0) {
    result.error = Failure("image layout", code);
    return result;
  }
  // libisofs names the one C struct at global scope, libburn inside its
  // namespace: in C++ they are two names of the same type.
  auto* raw_source = reinterpret_cast<::burn::burn_source*>(iso_source);
  result.source.reset(raw_source);
  result.size = static_cast<std::uint64_t>(raw_source->get_size(raw_source));
  return result;
}

}  // namespace salvor::burn
