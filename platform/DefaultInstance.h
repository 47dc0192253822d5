// The default instance of a form: made, and loaded, on first reference; reloaded on a
// reference after it was unloaded.
#pragma once

#include <memory>

namespace zavi {

template <class FormType>
class DefaultInstance {
  public:
    // A reference through the default instance: loads the form if it is not loaded. A
    // reference made while it loads is a reference to the same, loading, form.
    FormType& operator()() {
        if (!m_form) {
            // Forms are made only here: their constructors are private to this class.
            m_form.reset(new FormType());
        }
        m_form->Load();
        return *m_form;
    }

    bool IsLoaded() const { return m_form && m_form->IsLoaded(); }

    // Unloading a form that is not loaded does nothing; in particular it does not load it.
    void Unload() {
        if (m_form) {
            m_form->Unload();
        }
    }

  private:
    std::unique_ptr<FormType> m_form;
};

}  // namespace zavi
