#include "framework/ModalUi.h"

#include "framework/StderrModalUi.h"

namespace {
StderrModalUi g_stderrUi;
IModalUi *g_current = nullptr;
} // namespace

IModalUi &ModalUi()
{
    return g_current ? *g_current : g_stderrUi;
}

void SetModalUi(IModalUi *ui)
{
    g_current = ui;
}

ScopedModalUi::ScopedModalUi(IModalUi &ui) : m_previous(g_current)
{
    g_current = &ui;
}

ScopedModalUi::~ScopedModalUi()
{
    g_current = m_previous;
}
