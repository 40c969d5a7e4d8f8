#pragma once

#include "platform/forms/Form.h"

#include <QPointer>
#include <typeindex>
#include <typeinfo>
#include <vector>

namespace platform {

// The program's windows: each class a single instance, created and loaded on first use.
// get<T>() loads (Form_Initialize, Form_Load) as reading a control of an unloaded window did;
// isLoaded<T>() and unloadIfLoaded<T>() never load. An unloaded window is deleted later; the next
// get<T>() makes a fresh one.
class FormRegistry {
public:
    template <class T>
    T& get()
    {
        if (Form* f = find(typeid(T)))
            return static_cast<T&>(*f);
        T* created = new T();
        add(typeid(T), created);
        load(*created);
        return *created;
    }
    template <class T>
    T* loadedOrNull() const
    {
        return static_cast<T*>(find(typeid(T)));
    }
    template <class T>
    bool isLoaded() const
    {
        return find(typeid(T)) != nullptr;
    }
    // Unloads the window when it is loaded; false only when it stayed loaded (cancelled).
    template <class T>
    bool unloadIfLoaded()
    {
        Form* f = find(typeid(T));
        return f == nullptr || Unload(*f);
    }

    // Unload: Form_QueryUnload(Cancel, mode), then Form_Unload(Cancel); hides, forgets and later deletes
    // the window. False when cancelled.
    bool Unload(Form& form, int mode = vbFormCode);
    // Every loaded window, in load order (the Forms collection).
    std::vector<Form*> loaded() const;
    // Unloads every window, last loaded first; false when one of them cancelled (the rest stay loaded).
    bool unloadAll(int mode = vbFormCode);

    // The window of the program that was active last (message boxes and dialogs of the seam do not count).
    Form* activeForm() const { return active_; }
    // A window of the program became active: Deactivate on the one before, Activate on this one,
    // unless it was already the active one.
    void activated(Form& form);

    // Forgets and deletes every window without running its unload events (tests, between cases).
    void discardAll();

    // Loads a window made elsewhere (tests' windows): registers it under its own class and runs its load.
    void adopt(Form& form);

    // Windows by name ("frmTag"): each window class names itself once with KELVA_FORM_NAME in its own
    // source file. A menu or button of a window that is not part of this build finds no name and opens nothing.
    using Loader = Form& (*)(FormRegistry&);
    static void registerName(const char* name, std::type_index type, Loader loader);
    static bool hasName(const QString& name);
    // The named window, loaded as get<T>() loads; nullptr when no window has that name.
    Form* getByName(const QString& name);
    // The named window when it is loaded; never loads.
    Form* loadedByName(const QString& name) const;

private:
    struct Entry {
        std::type_index type;
        QPointer<Form> form;
    };
    Form* find(std::type_index type) const;
    void add(std::type_index type, Form* form);
    void load(Form& form);
    void forget(Form& form);

    std::vector<Entry> entries_;
    QPointer<Form> active_;
};

FormRegistry& forms();

}  // namespace platform

using platform::forms;

// Names a window class for FormRegistry::getByName; put it once in the class's own .cpp, at file scope.
#define KELVA_FORM_NAME(T)                                                                                   \
    namespace {                                                                                              \
    [[maybe_unused]] const bool kelvaFormName_##T = (::platform::FormRegistry::registerName(                 \
                                                         #T, typeid(T),                                      \
                                                         [](::platform::FormRegistry& r) -> ::platform::Form& { \
                                                             return r.get<T>();                              \
                                                         }),                                                 \
                                                     true);                                                  \
    }
