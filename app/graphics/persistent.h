#pragma once

#include <string_view>

namespace app {

// The root of the toolkit's classes: a polymorphic object with a class name.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    virtual const char* ClassName() const { return "TObject"; }
};

// Layouts are built in code, so no filer ever calls DefineProperties; the
// slot stays so that every picture class keeps the toolkit's interface.
class TFiler;

// An object that can take its content from another one.
class TPersistent : public TObject {
public:
    // Copies this object into `dest`; the default refuses.
    virtual void AssignTo(TPersistent* dest);
    virtual void DefineProperties(TFiler* filer);
    // Copies `source` into this object; the default asks the source to do it.
    virtual void Assign(TPersistent* source);

    const char* ClassName() const override { return "TPersistent"; }

protected:
    // Refuses the copy: "A <source> cannot be copied into a <this>".
    [[noreturn]] void AssignError(const TPersistent* source) const;
};

// A persistent object that can be asked for an interface; it offers none.
class TInterfacedPersistent : public TPersistent {
public:
    virtual bool QueryInterface(std::string_view interfaceId, void** object);

    const char* ClassName() const override { return "TInterfacedPersistent"; }
};

}  // namespace app
