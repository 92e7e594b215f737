#include "study/IPresentationStateImport.h"

// Orvane
#include "study/CPresentationStateImport.h"

namespace {

PresentationStateImportFactory& Factory()
{
    static PresentationStateImportFactory factory;
    return factory;
}

} // namespace

std::unique_ptr<IPresentationStateImport> CreatePresentationStateImport()
{
    if (const PresentationStateImportFactory& factory = Factory()) {
        if (std::unique_ptr<IPresentationStateImport> import = factory())
            return import;
    }
    return std::make_unique<CPresentationStateImport>();
}

PresentationStateImportFactory SetPresentationStateImportFactory(PresentationStateImportFactory factory)
{
    PresentationStateImportFactory old = std::move(Factory());
    Factory() = std::move(factory);
    return old;
}
