#include "platform/forms/FormRegistry.h"

#include <algorithm>

namespace platform {

FormRegistry& forms()
{
    static FormRegistry registry;
    return registry;
}

namespace {
struct NamedForm {
    QString name;
    std::type_index type;
    FormRegistry::Loader loader;
};
std::vector<NamedForm>& namedForms()
{
    static std::vector<NamedForm> table;
    return table;
}
const NamedForm* namedForm(const QString& name)
{
    for (const NamedForm& n : namedForms())
        if (n.name.compare(name, Qt::CaseInsensitive) == 0)
            return &n;
    return nullptr;
}
} // namespace

void FormRegistry::registerName(const char* name, std::type_index type, Loader loader)
{
    namedForms().push_back(NamedForm{QString::fromLatin1(name), type, loader});
}

bool FormRegistry::hasName(const QString& name)
{
    return namedForm(name) != nullptr;
}

Form* FormRegistry::getByName(const QString& name)
{
    const NamedForm* n = namedForm(name);
    return n ? &n->loader(*this) : nullptr;
}

Form* FormRegistry::loadedByName(const QString& name) const
{
    const NamedForm* n = namedForm(name);
    return n ? find(n->type) : nullptr;
}

Form* FormRegistry::find(std::type_index type) const
{
    for (const Entry& e : entries_)
        if (e.type == type && e.form)
            return e.form.data();
    return nullptr;
}

void FormRegistry::add(std::type_index type, Form* form)
{
    entries_.push_back(Entry{type, form});
}

void FormRegistry::load(Form& form)
{
    form.loaded_ = true;
    guarded([&form] { form.Form_Initialize(); });
    guarded([&form] { form.Form_Load(); });
}

void FormRegistry::adopt(Form& form)
{
    if (std::none_of(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.form == &form; }))
        add(typeid(form), &form);
    if (!form.loaded_)
        load(form);
}

void FormRegistry::forget(Form& form)
{
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const Entry& e) { return e.form.isNull() || e.form == &form; }),
                   entries_.end());
    if (active_ == &form)
        active_.clear();
}

bool FormRegistry::Unload(Form& form, int mode)
{
    if (form.unloading_ || !form.loaded_)
        return true;
    int cancel = 0;
    guarded([&] { form.Form_QueryUnload(cancel, mode); });
    if (cancel != 0)
        return false;
    guarded([&] { form.Form_Unload(cancel); });
    if (cancel != 0)
        return false;
    form.unloading_ = true;
    forget(form);
    form.hide();
    form.loaded_ = false;
    emit form.modalEnded();
    emit form.unloaded();
    // Unload Me runs inside the window's own procedure, which goes on after it: delete later.
    form.deleteLater();
    return true;
}

std::vector<Form*> FormRegistry::loaded() const
{
    std::vector<Form*> out;
    for (const Entry& e : entries_)
        if (e.form && e.form->loaded_)
            out.push_back(e.form.data());
    return out;
}

bool FormRegistry::unloadAll(int mode)
{
    std::vector<Form*> all = loaded();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        QPointer<Form> f = *it;
        if (f && !Unload(*f, mode))
            return false;
    }
    return true;
}

void FormRegistry::discardAll()
{
    std::vector<Entry> all;
    all.swap(entries_);
    active_.clear();
    for (Entry& e : all)
        if (e.form) {
            e.form->unloading_ = true;
            e.form->loaded_ = false;
            e.form->hide();
            delete e.form.data();
        }
}

void FormRegistry::activated(Form& form)
{
    if (active_ == &form)
        return;
    QPointer<Form> previous = active_;
    active_ = &form;
    if (previous && previous->loaded_)
        guarded([&] { previous->Form_Deactivate(); });
    QPointer<Form> self = &form;
    if (self && self->loaded_)
        guarded([&] { self->Form_Activate(); });
}

}  // namespace platform
