#include "shell/WindowSet.h"

#include "shell/MainForm.h"

TWindowSet::TWindowSet()
{
    m_main = std::make_unique<TMainForm>();
    MainForm = m_main.get();
}

TWindowSet::~TWindowSet()
{
    MainForm = nullptr;
    m_main.reset();
}
