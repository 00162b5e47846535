#include "fit/LeastSquares.h"

#include <algorithm>
#include <cmath>
#include <utility>

// Precision is part of the result here: the sums run in double and are
// stored in the type of their target (a float target rounds once, when the
// sum is stored). A product of two floats is exact in double, so no
// intermediate rounding hides in the products of float factors.

BasisValues::BasisValues(int functionCount, int observationCount)
    : m_functionCount(std::max(functionCount, 0)),
      m_observationCount(std::max(observationCount, 0)),
      m_values(std::size_t(m_functionCount + 1) * std::size_t(m_observationCount + 1), 0.0f) {}

std::size_t BasisValues::index(int k, int i) const {
    return std::size_t(k) * std::size_t(m_observationCount + 1) + std::size_t(i);
}

namespace {

// The normal matrix and, after the elimination, its inverse: double
// precision, rows and columns 0..n with 0 unused.
class SquareMatrix {
public:
    explicit SquareMatrix(int n) : m_n(n), m_values(std::size_t(n + 1) * std::size_t(n + 1), 0.0) {}

    double& operator()(int r, int c) { return m_values[std::size_t(r) * (m_n + 1) + c]; }

    void swapRows(int a, int b) {
        for (int c = 1; c <= m_n; ++c)
            std::swap((*this)(a, c), (*this)(b, c));
    }
    void swapColumns(int a, int b) {
        for (int r = 1; r <= m_n; ++r)
            std::swap((*this)(r, a), (*this)(r, b));
    }

private:
    int m_n;
    std::vector<double> m_values;
};

SquareMatrix normalMatrix(const BasisValues& Aa, int Nd, int Nv) {
    SquareMatrix N(Nv);
    for (int r = 1; r <= Nv; ++r) {
        for (int c = 1; c <= Nv; ++c) {
            double sum = 0;
            for (int i = 1; i <= Nd; ++i)
                sum += double(Aa(r, i)) * double(Aa(c, i));
            N(r, c) = sum;
        }
    }
    return N;
}

// The row of the largest magnitude in column p among rows p..n; strictly
// larger only, so the first of equal magnitudes wins and a zero (or a NaN)
// is never taken. 0 when there is none.
int pivotRow(SquareMatrix& N, int p, int n) {
    double largest = 0;
    int row = 0;
    for (int r = p; r <= n; ++r) {
        if (std::fabs(N(r, p)) > largest) {
            largest = std::fabs(N(r, p));
            row = r;
        }
    }
    return row;
}

// Gauss-Jordan inversion in place. The row interchanges of the elimination
// are undone afterwards as column interchanges, in reverse order. Returns
// false, with N half-done, when a pivot column is exactly zero.
bool invertInPlace(SquareMatrix& N, int n) {
    std::vector<int> P(std::size_t(n) + 1, 0); // the pivot row of each step
    for (int p = 1; p <= n; ++p) {
        const int row = pivotRow(N, p, n);
        P[p] = row;
        if (row == 0)
            return false;
        const double piv = N(row, p);
        if (row != p)
            N.swapRows(row, p);
        N(p, p) = 1;
        for (int c = 1; c <= n; ++c)
            N(p, c) = N(p, c) / piv;
        for (int r = 1; r <= n; ++r) {
            if (r == p)
                continue;
            const double t = N(r, p);
            N(r, p) = 0;
            for (int c = 1; c <= n; ++c)
                N(r, c) = N(r, c) - N(p, c) * t;
        }
    }
    for (int q = n - 1; q >= 1; --q) {
        if (P[q] != q)
            N.swapColumns(P[q], q);
    }
    return true;
}

bool sizesFit(std::span<const float> De, const BasisValues& Aa, std::span<float> Tx,
              std::span<float> Dv, int Nd, int Nv) {
    return Nv >= 0 && Nv < Nd && De.size() > std::size_t(Nd) && Tx.size() > std::size_t(Nv) &&
           Dv.size() > std::size_t(Nv) && Aa.functionCount() >= Nv && Aa.observationCount() >= Nd;
}

} // namespace

LsmStatus LSM(std::span<const float> De, const BasisValues& Aa, std::span<float> Tx,
              std::span<float> Dv, std::int16_t Nd, std::int16_t Nv) {
    if (!sizesFit(De, Aa, Tx, Dv, Nd, Nv))
        return LsmStatus::BadSize;

    SquareMatrix N = normalMatrix(Aa, Nd, Nv);
    if (!invertInPlace(N, Nv))
        return LsmStatus::Singular;

    // Work vector: first the right-hand side (1..Nv), then the fitted values
    // and the absolute residuals (1..Nd).
    std::vector<float> W(std::size_t(Nd) + 1, 0.0f);
    for (int k = 1; k <= Nv; ++k) {
        double sum = 0;
        for (int i = 1; i <= Nd; ++i)
            sum += double(Aa(k, i)) * double(De[i]);
        W[k] = float(sum);
    }
    for (int r = 1; r <= Nv; ++r) {
        double sum = 0;
        for (int k = 1; k <= Nv; ++k)
            sum += N(r, k) * double(W[k]);
        Tx[r] = float(sum);
    }
    for (int i = 1; i <= Nd; ++i) {
        double sum = 0;
        for (int k = 1; k <= Nv; ++k)
            sum += double(Aa(k, i)) * double(Tx[k]);
        W[i] = float(sum);
    }
    for (int i = 1; i <= Nd; ++i)
        W[i] = float(std::fabs(double(De[i]) - double(W[i])));
    double S = 0;
    for (int i = 1; i <= Nd; ++i)
        S += double(W[i]) * double(W[i]);

    const std::int16_t degreesOfFreedom = std::int16_t(Nd - Nv); // positive: Nv < Nd
    for (int j = 1; j <= Nv; ++j)
        Dv[j] = float(std::sqrt(std::fabs(N(j, j) * S) / degreesOfFreedom));
    return LsmStatus::Solved;
}
