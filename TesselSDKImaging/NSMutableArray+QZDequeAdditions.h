#pragma once
// Deque operations on a mutable array: any sequence container with front insertion (std::deque,
// std::vector, or a Value array's mutableArray()). Pops and peeks on an empty array answer the
// element type's empty value (nil for Value and pointers).

#include <utility>

template <class Array, class T>
void pushFront(Array& array, T&& object) {
  array.insert(array.begin(), std::forward<T>(object));
}

template <class Array, class T>
void pushBack(Array& array, T&& object) {
  array.push_back(std::forward<T>(object));
}

template <class Array>
typename Array::value_type popFront(Array& array) {
  if (array.empty()) return {};
  typename Array::value_type first = std::move(array.front());
  array.erase(array.begin());
  return first;
}

template <class Array>
typename Array::value_type popBack(Array& array) {
  if (array.empty()) return {};
  typename Array::value_type last = std::move(array.back());
  array.pop_back();
  return last;
}

template <class Array>
typename Array::value_type peekFront(const Array& array) {
  return array.empty() ? typename Array::value_type{} : array.front();
}

template <class Array>
typename Array::value_type peekBack(const Array& array) {
  return array.empty() ? typename Array::value_type{} : array.back();
}
