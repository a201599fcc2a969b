#pragma once
// The frame shown while folders are scanned: the count of songs found, the
// percentage read, and a bar over the text "Caricamento in corso..." that shows
// the text inverted where the bar covers it.

#include <QFrame>
#include <QProgressBar>

class QLabel;
class QPushButton;

namespace sonivo {

// A progress bar drawn in the program's own way; screen readers read it as a
// progress bar with its value.
class ProgressBox final : public QProgressBar {
    Q_OBJECT
public:
    explicit ProgressBox(QWidget* parent = nullptr);
    // Redraws unless done is greater than found.
    void setProgress(qint64 found, qint64 done);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qint64 found_ = 0;
    qint64 done_ = 0;
};

class ScanProgressFrame final : public QFrame {
    Q_OBJECT
public:
    explicit ScanProgressFrame(QWidget* parent = nullptr);
    void showProgress(qint64 found, qint64 done);
    QString foundText() const;
    QString levelText() const;
    // "Annulla": stops the scan after the file being read.
    QPushButton* cancelButton() const { return cancel_; }
    ProgressBox* progressBox() const { return box_; }

Q_SIGNALS:
    void cancelRequested();

private:
    QLabel* current_;
    QLabel* level_;
    ProgressBox* box_;
    QPushButton* cancel_;
};

}  // namespace sonivo
