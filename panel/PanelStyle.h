// The look of the control panel: one style sheet for its captions, combos,
// text boxes, lists, option buttons and check boxes, the quit button and the
// menu titles.
#pragma once

namespace PanelStyle {

inline constexpr const char* kPanelStyle = R"(
QWidget { color: #e8e2d4; font-size: 9pt; }
QLabel { background: transparent; }
QLabel:disabled { color: #7d7a72; }
QComboBox, QLineEdit {
  background: #1b1e23; border: 1px solid #4a515c; border-radius: 3px; padding: 1px 6px;
  selection-background-color: #c9a13b; selection-color: #1e2126;
}
QComboBox:disabled, QLineEdit:disabled { color: #6f6c66; border-color: #383d45; }
QComboBox:hover, QLineEdit:focus { border-color: #c9a13b; }
QComboBox QAbstractItemView { background: #1b1e23; border: 1px solid #4a515c; selection-background-color: #c9a13b; selection-color: #1e2126; }
QListWidget {
  background: #1b1e23; border: 1px solid #4a515c; border-radius: 3px; outline: 0;
}
QListWidget:disabled { color: #6f6c66; }
QListWidget::item { padding: 1px 4px; }
QListWidget::item:hover { background: #343a44; }
QListWidget::item:selected { background: #c9a13b; color: #1e2126; }
QRadioButton, QCheckBox { background: transparent; spacing: 5px; }
QRadioButton::indicator, QCheckBox::indicator {
  width: 11px; height: 11px; border: 1px solid #8a8f98; background: #1b1e23;
}
QRadioButton::indicator { border-radius: 6px; }
QCheckBox::indicator { border-radius: 2px; }
QRadioButton::indicator:checked {
  background: qradialgradient(cx:0.5, cy:0.5, radius:0.5, fx:0.5, fy:0.5,
                              stop:0 #e0b84a, stop:0.5 #e0b84a, stop:0.6 #1b1e23, stop:1 #1b1e23);
  border-color: #e0b84a;
}
QCheckBox::indicator:checked { background: #e0b84a; border-color: #1e2126; }
QRadioButton::indicator:disabled, QCheckBox::indicator:disabled { border-color: #4a515c; }
QPushButton#cmdQuit {
  background: transparent; border: none; color: #d9d2c3; font-size: 12pt; font-weight: bold;
}
QPushButton#cmdQuit:hover { color: #ff8a6a; }
QLabel#menuTitle { padding: 0 8px; border-radius: 3px; }
QLabel#menuTitle:hover { background: #363c46; }
QLabel#lblTot { color: #c9a13b; font-weight: bold; }
)";

} // namespace PanelStyle
