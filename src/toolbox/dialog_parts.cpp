#include "toolbox/dialog_parts.h"

#include <QFontDatabase>

#include "platform/qt/ansi.h"

namespace quarvelt {

QLabel* Indicator(QWidget* parent, int minimumWidth) {
    auto* label = new QLabel(parent);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::cyan);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(minimumWidth);
    label->setMinimumHeight(24);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(15);
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLabel* Caption(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QListWidget* FixedPitchList(QWidget* parent) {
    auto* list = new QListWidget(parent);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(14);
    list->setFont(font);
    return list;
}

void OnLineChosen(QListWidget* list, const bool& syncing, std::function<void(int)> chosen) {
    QObject::connect(list, &QListWidget::itemSelectionChanged, list, [list, &syncing, chosen] {
        const QList<QListWidgetItem*> lines = list->selectedItems();
        if (!syncing && !lines.isEmpty())
            chosen(list->row(lines.front()));
    });
}

void ShowTexts(QListWidget* list, const std::vector<std::string>& texts) {
    bool same = list->count() == static_cast<int>(texts.size());
    for (int i = 0; same && i < list->count(); ++i)
        same = list->item(i)->text() == platform::qt::FromAnsi(texts[static_cast<size_t>(i)]);
    if (same)
        return;
    list->clear();
    for (const std::string& text : texts)
        list->addItem(platform::qt::FromAnsi(text));
}

void ShowLines(QListWidget* list, const std::vector<ListLine>& lines, int selected) {
    std::vector<std::string> texts;
    for (const ListLine& line : lines)
        texts.push_back(line.text);
    ShowTexts(list, texts);
    list->setCurrentRow(selected);
    if (selected < 0)
        list->clearSelection();
}

}  // namespace quarvelt
