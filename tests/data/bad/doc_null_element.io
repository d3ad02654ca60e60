zwuzjdh/7wObXC94laRoWmIn/9PqQRYQsWgTPs4+28I=
