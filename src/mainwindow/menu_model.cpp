#include "mainwindow/menu_model.h"

namespace quarvelt {

MenuModel::MenuModel()
    : items_{{
          {"&Puzzle", true, true},
          {"&Tools", false, false},
          {"&Run", false, false},
          {"Re&Set", false, false},
          {"&Clear", false, false},
          {"&Help", true, true},
          {"E&xit", true, true},
          {"New", true, false},
          {"Load", true, false},
          {"Save", true, false},
          {"Edit", true, false},
          {"Delete", true, false},
          {"Conditions", false, false},
          {"ExPort", false, false},
          {"ImPort", false, false},
          {"Game Tool Box", true, false},
          {"Design Tool Box", true, false},
          {"Tool Box Setup", false, false},
          {"Lock/UnLock Puzzle Object", false, false},
          {"Cell Number Overlay", true, true},
          {"Help", true, true},
          {"Help Writer", false, false},
          {"-", true, true},
          {"About QUARVELT", true, true},
      }} {}

void MenuModel::Show(MenuItem item, bool on) {
    items_[Index(item)].visible = on;
    items_[Index(item)].enabled = on;
    if (changed)
        changed();
}

void MenuModel::Enable(MenuItem item, bool on) {
    items_[Index(item)].enabled = on;
    if (changed)
        changed();
}

}  // namespace quarvelt
