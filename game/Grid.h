#pragma once
// A two-dimensional grid indexed [x][y] (column, row), sized once by the field's constructor.
#include <algorithm>
#include <cstddef>
#include <vector>

template <typename T> class TGrid {
public:
    TGrid() = default;
    TGrid(int columns, int rows) : columns_(columns), rows_(rows), data_(Size(columns, rows)) {}

    T& operator()(int x, int y) { return data_[Index(x, y)]; }
    const T& operator()(int x, int y) const { return data_[Index(x, y)]; }

    void Fill(const T& value) { std::fill(data_.begin(), data_.end(), value); }
    // The elements column by column: (x, y) at x * Rows() + y.
    T* Data() { return data_.data(); }
    const T* Data() const { return data_.data(); }
    int Columns() const { return columns_; }
    int Rows() const { return rows_; }

private:
    size_t Index(int x, int y) const {
        return static_cast<size_t>(x) * static_cast<size_t>(rows_) + static_cast<size_t>(y);
    }
    static size_t Size(int columns, int rows) {
        return columns > 0 && rows > 0 ? static_cast<size_t>(columns) * static_cast<size_t>(rows)
                                       : 0;
    }
    int columns_ = 0;
    int rows_ = 0;
    std::vector<T> data_;
};
