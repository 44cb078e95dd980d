// A scratch catalogue folder with a folder of its own for the index, removed at the end; dumps
// are written plain or compressed.
#pragma once

#include <lzma.h>
#include <zlib.h>
#include <zstd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "catalogue/CatalogueIndex.h"

class CatalogueFolder
{
  public:
    CatalogueFolder()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarvik-catalogue-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            root_ = pattern;
            std::filesystem::create_directory(Dumps());
        }
    }
    ~CatalogueFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    CatalogueFolder(const CatalogueFolder &) = delete;
    CatalogueFolder &operator=(const CatalogueFolder &) = delete;

    std::string Dumps() const { return root_ + "/dumps"; }
    std::string IndexFolder() const { return root_ + "/index"; }

    std::string Write(const std::string &name, const std::string &bytes) const
    {
        const std::string path = Dumps() + "/" + name;
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return path;
    }
    // The text compressed as the name's ending says (.gz, .zst, .xz; else plain).
    std::string WriteCompressed(const std::string &name, const std::string &text) const
    {
        return Write(name, Compressed(name, text));
    }
    static std::string Compressed(const std::string &name, const std::string &text)
    {
        std::string bytes;
        if (name.ends_with(".gz")) {
            z_stream stream{};
            deflateInit2(&stream, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
            bytes.resize(deflateBound(&stream, text.size()));
            stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(text.data()));
            stream.avail_in = static_cast<uInt>(text.size());
            stream.next_out = reinterpret_cast<Bytef *>(bytes.data());
            stream.avail_out = static_cast<uInt>(bytes.size());
            deflate(&stream, Z_FINISH);
            bytes.resize(stream.total_out);
            deflateEnd(&stream);
        } else if (name.ends_with(".zst")) {
            bytes.resize(ZSTD_compressBound(text.size()));
            bytes.resize(ZSTD_compress(bytes.data(), bytes.size(), text.data(), text.size(), 3));
        } else if (name.ends_with(".xz")) {
            bytes.resize(lzma_stream_buffer_bound(text.size()));
            std::size_t size = 0;
            lzma_easy_buffer_encode(6, LZMA_CHECK_CRC64, nullptr,
                                    reinterpret_cast<const uint8_t *>(text.data()), text.size(),
                                    reinterpret_cast<uint8_t *>(bytes.data()), &size, bytes.size());
            bytes.resize(size);
        } else {
            bytes = text;
        }
        return bytes;
    }

    std::unique_ptr<CatalogueIndex> Open(std::string &fault, IndexProgress progress = {}) const
    {
        CatalogueIndex::Options options;
        options.indexFolder = IndexFolder();
        options.containerClasses = {"organization", "organizationalunit"};
        options.progress = std::move(progress);
        return CatalogueIndex::Open(Dumps(), options, fault);
    }

  private:
    std::string root_;
};
