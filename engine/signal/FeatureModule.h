// The base of every feature producer (map bands, online filters, sums): a module that
// owns a feature array of fixed capacity, answers "Feature" before the module base's
// names, and holds the features it reads with a reference each.
//
// A derived Process appends the values of the new addresses with Append, which drops
// what no longer fits: a stream longer than the array is cut at its capacity, never
// written past it. Discard(n) drops the first n values (all of them for n < 0), so
// addresses shift down by n; filters with state extend it.
#pragma once
#include <memory>
#include <vector>

#include "Feature.h"
#include "core/ModuleBase.h"
#include "core/ZeroedArray.h"

class FeatureModule : public ModuleBase, public virtual Feature {
  public:
    static constexpr int kCapacity = 100000;

    explicit FeatureModule(std::vector<Feature*> sources = {});
    ~FeatureModule() override;

    void Discard(int n) override;
    void* GetInterface(const char* name) override;

  protected:
    // Appends one value; false (and nothing stored) when the array is full.
    bool Append(float value) {
        if (length >= kCapacity) return false;
        data[length++] = value;
        return true;
    }
    // The first source's length, clipped to what this feature can hold.
    int SourceLength(int k = 0) const;

    std::vector<Feature*> sources_;

  private:
    ZeroedArray<float> values_;
};

// Ends a factory: registers a new object as the consumer of each source (so a module
// folder runs it after them) and returns it unheld, with count 0.
Interface* LinkNew(ModuleBase* made, const std::vector<Interface*>& sources);
