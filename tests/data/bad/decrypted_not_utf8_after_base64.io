OZClvyydx1otK5FkRh7kBA==
