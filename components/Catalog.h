#pragma once
#include <memory>
#include <vector>

#include "core/Component.h"
#include "core/ProductKind.h"

// One entry of the catalog: the name its log block gives (with the block's line end), the word
// its log texts use, and how its component is made for a run.
struct CatalogEntry {
    const char* displayName;
    ProductKind kind;
    std::unique_ptr<Component> (*make)();
};

// The 18 entries in the fixed order of a run. The last has no log block: it is removed whether
// or not anything of it is there, and its name (without a line end) is the reports' alone.
constexpr int kCatalogSize = 18;
extern const CatalogEntry kCatalog[kCatalogSize];

// The components of the catalog for one run, made in the catalog's order and gone in reverse
// order when the object goes.
class CatalogProducts {
  public:
    CatalogProducts();
    ~CatalogProducts();
    CatalogProducts(const CatalogProducts&) = delete;
    CatalogProducts& operator=(const CatalogProducts&) = delete;

    // The component of entry number (1 to kCatalogSize).
    Component& Entry(int number) { return *products_[number - 1]; }
    // True when an entry asked for the system's network setup.
    bool NetworkSetupRequested() const;

  private:
    std::vector<std::unique_ptr<Component>> products_;
};
